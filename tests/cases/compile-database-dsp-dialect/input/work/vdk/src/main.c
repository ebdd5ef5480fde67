#include "..\board.h"
#include "Macros.h"
#include <settings.h>

#ifndef _ADI_THREADS
#error "-threads defines _ADI_THREADS"
#endif
#ifndef __ADSP21262__
#error "the processor macro is missing"
#endif

/* Empty when defined as "EMPTY=", a syntax error when defined as 1. */
int pm coefficients[EMPTY SAMPLES];
section("seg_dmda") int dm samples[SAMPLES];
_Fract gain;
long _Accum level;

int main(void)
{
    return board_id + HALF(ONE) - coefficients[0];
}
