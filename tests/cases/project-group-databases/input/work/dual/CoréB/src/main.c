#include "..\inc\core.h"
int core = CORE_B;
