#include "P:\work\dual\Core A\src\..\inc\core.h"
