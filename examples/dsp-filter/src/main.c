#include "codec.h"
#include "filter_gain.h"
#include "filters.h"

#if defined(DEBUG) == defined(NDEBUG)
#error "the configuration defines exactly one of DEBUG and NDEBUG"
#endif

#ifdef DEBUG
#include "trace.h"
#endif

#define BLOCK_SIZE 64

static short input[BLOCK_SIZE];
static short output[BLOCK_SIZE];

int main(void)
{
    codec_init();
    for (;;) {
        int count = codec_read(input, BLOCK_SIZE);
        fir_filter(input, output, count);
        biquad_filter(output, output, count);
        for (int n = 0; n < count; ++n)
            output[n] = (short)(output[n] >> FILTER_GAIN_SHIFT);
#ifdef DEBUG
        trace(1, "block filtered");
#endif
        codec_write(output, count);
    }
}
