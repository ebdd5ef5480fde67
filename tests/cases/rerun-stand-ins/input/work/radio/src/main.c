#include "..\board.h"
#include "Macros.h"

int main(void)
{
    return board_id + HALF(2);
}
