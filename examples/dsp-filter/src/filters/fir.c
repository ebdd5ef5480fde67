#include "filters.h"

static const short taps[FILTER_TAPS] = {0};
static short history[FILTER_TAPS];

void fir_filter(const short *input, short *output, int count)
{
    for (int n = 0; n < count; ++n) {
        long sum = 0;
        for (int k = FILTER_TAPS - 1; k > 0; --k)
            history[k] = history[k - 1];
        history[0] = input[n];
        for (int k = 0; k < FILTER_TAPS; ++k)
            sum += (long)taps[k] * history[k];
        output[n] = (short)(sum >> 15);
    }
}
