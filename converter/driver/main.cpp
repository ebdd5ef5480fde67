// TEMPORARY placeholder until the entry point lands; replaced by its owner.
int main() { return 0; }
