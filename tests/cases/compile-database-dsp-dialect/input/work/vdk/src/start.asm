#ifndef _LANGUAGE_ASM
#error "the assembler defines _LANGUAGE_ASM"
#endif
#ifndef ASM_ONLY
#error "the assembler's own -D options"
#endif
#ifdef __ANALOG_EXTENSIONS__
#error "defined by the compiler only"
#endif
#include "..\board.h"
.section/pm seg_pmco;
