#include "P:\work\vdk\src\macros.h"
