/* An outside library that compiled test programs bind through a declaration file. */
#include <stdint.h>
#include <stdio.h>

int32_t tl_add(int32_t a, int32_t b) { return a + b; }

float tl_scale(float value, float factor) { return value * factor; }

const char* tl_greet(const char* name) {
    static char text[256];
    snprintf(text, sizeof text, "hello %s", name);
    return text;
}

int32_t tl_low_byte(const void* address) { return (int32_t)((uintptr_t)address & 0xff); }
