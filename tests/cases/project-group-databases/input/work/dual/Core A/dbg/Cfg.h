#define CFG 1
