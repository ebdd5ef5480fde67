#ifndef CODEC_H
#define CODEC_H

void codec_init(void);
int codec_read(short* samples, int count);
void codec_write(const short* samples, int count);

#endif
