/* A library for CallDLL that reaches a bank through its record, the way outside
 * libraries do: the input holds a bank handle, the storage address is the word at
 * handle + 4 and the size the word at handle + 8. */
#include <stdint.h>
#include <string.h>

int TouchBank(const char* in, int inSize, char* out, int outSize) {
    if (inSize < 4 || outSize < 4) return -1;
    uint32_t handle;
    memcpy(&handle, in, 4);
    const uint32_t* record = (const uint32_t*)(uintptr_t)handle;
    uint8_t* data = (uint8_t*)(uintptr_t)record[1];
    int32_t value;
    memcpy(&value, data, 4);
    value += 1;
    memcpy(data, &value, 4);
    memcpy(out, &record[2], 4);
    return 77;
}
