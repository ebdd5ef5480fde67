#include "..\inc\core.h"
#include "Cfg.h"
int core = CORE_A + CFG;
