/* A user library found only under the tarskpath folder's userlibs. */
#include <unistd.h>

int Answer(void) { return 42; }

__attribute__((destructor)) static void unloaded(void) {
    static const char text[] = "unloaded tarskonly\n";
    (void)!write(1, text, sizeof text - 1);
}
