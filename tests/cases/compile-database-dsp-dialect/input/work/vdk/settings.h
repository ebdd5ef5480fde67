/* Only in the project folder, which the compiler searches last. */
#define SAMPLES 2
