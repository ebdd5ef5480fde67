#include "P:\\work\dual\CoreB\src\..\inc\core.h"
