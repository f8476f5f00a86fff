/* return_zero.c: a cc65 test program that passes: main returns 0, which cc65 leaves in ST. */
int main(void) { return 0; }
