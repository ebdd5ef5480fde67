#include "P:\work\radio\src\old.h"
