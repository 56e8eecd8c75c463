// The byte stream behind every Read and Write command, and the set of live streams.
// Streams are records below 4 GiB: a program holds one by its address.
#pragma once

#include <cstdint>

namespace tarsk {

class Stream {
public:
    Stream();
    virtual ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Frees the record (each kind allocates its own size).
    virtual void destroy() = 0;
    // Copies up to size bytes into buffer; the count copied, 0 at the end or on error.
    virtual int32_t read(void* buffer, int32_t size) = 0;
    // The count written.
    virtual int32_t write(const void* buffer, int32_t size) = 0;
    // Bytes readable without waiting.
    virtual int32_t avail() = 0;
    // Nonzero when no more data can be read.
    virtual int32_t eof() = 0;
};

// True when handle names a stream in existence.
bool isLiveStream(int32_t handle);
// The live stream of a handle; raises "Stream does not exist" otherwise.
Stream* liveStream(int32_t handle);

}  // namespace tarsk
