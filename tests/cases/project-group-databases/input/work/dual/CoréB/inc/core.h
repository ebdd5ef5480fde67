#define CORE_B 1
