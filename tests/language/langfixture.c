/* A user library bound by the test modules; says when it is unloaded. */
#include <string.h>
#include <unistd.h>

int Twice(int value) { return 2 * value; }
int TextLength(const char* text) { return (int)strlen(text); }
const char* Greeting(void) { return "hello from a library"; }

__attribute__((destructor)) static void unloaded(void) {
    static const char text[] = "unloaded langfixture\n";
    (void)!write(1, text, sizeof text - 1);
}
