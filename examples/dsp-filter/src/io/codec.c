#include "codec.h"

void codec_init(void)
{
}

int codec_read(short *samples, int count)
{
    for (int n = 0; n < count; ++n)
        samples[n] = 0;
    return count;
}

void codec_write(const short *samples, int count)
{
    (void)samples;
    (void)count;
}
