#include "debug/trace.h"

void trace(int level, const char *message)
{
    if (level <= TRACE_LEVEL)
        (void)message;
}
