#include "P:\work\dual\CoréB\src\..\inc\core.h"
