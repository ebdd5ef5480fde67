#include "P:\work\dual\Core A\rel\cfg.h"
