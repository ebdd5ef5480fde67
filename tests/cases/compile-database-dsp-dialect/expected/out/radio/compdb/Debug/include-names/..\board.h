#include "P:\work\vdk\src\..\board.h"
