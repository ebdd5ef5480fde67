void start(void) {}
