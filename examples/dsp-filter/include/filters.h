#ifndef FILTERS_H
#define FILTERS_H

void fir_filter(const short* input, short* output, int count);
void biquad_filter(const short* input, short* output, int count);

#endif
