/* A library for CallDLL: writes the input bytes reversed and returns the count. */
int ReverseBytes(const char* in, int inSize, char* out, int outSize) {
    int count = inSize < outSize ? inSize : outSize;
    for (int i = 0; i < count; ++i) out[i] = in[inSize - 1 - i];
    return count;
}
