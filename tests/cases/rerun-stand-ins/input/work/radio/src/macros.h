#define HALF(x) ((x) / 2)
