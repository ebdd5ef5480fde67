#define CFG 2
