/* return_three.c: a cc65 test program that fails with 3: main's return value is left in ST. */
int main(void) { return 3; }
