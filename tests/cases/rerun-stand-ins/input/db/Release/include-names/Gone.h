#include "P:\work\radio\src\gone.h"
