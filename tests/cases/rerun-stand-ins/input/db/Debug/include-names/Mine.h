#include "P:\work\radio\src\mine.h"
#define MINE 1
