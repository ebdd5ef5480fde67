extern int board_id;
