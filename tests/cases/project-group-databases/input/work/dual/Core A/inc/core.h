#define CORE_A 1
