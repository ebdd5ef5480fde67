/* The project names it irqprocess.c. */
void irq_process(void) {}
