#include "P:\work\radio\src\..\board.h"
#define BOARD_REVISION 2
