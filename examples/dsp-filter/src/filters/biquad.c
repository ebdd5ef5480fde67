#include "filters.h"

static const short b0 = 16384, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
static short x1, x2, y1, y2;

void biquad_filter(const short *input, short *output, int count)
{
    for (int n = 0; n < count; ++n) {
        long y = (long)b0 * input[n] + (long)b1 * x1 + (long)b2 * x2 - (long)a1 * y1 - (long)a2 * y2;
        x2 = x1;
        x1 = input[n];
        y2 = y1;
        y1 = (short)(y >> 14);
        output[n] = y1;
    }
}
