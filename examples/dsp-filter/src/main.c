#include "codec.h"
#include "filters.h"

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
        codec_write(output, count);
    }
}
