/* Reached as "..\board.h" from src: a stand-in header leads clang here. */
extern int board_id;
