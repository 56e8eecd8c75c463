/* Compiled as position-independent code: its global access goes through the GOT. */
extern int some_global;
void __MAIN(void) { some_global = 1; }
