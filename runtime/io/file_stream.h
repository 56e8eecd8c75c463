// A stream over a file with a buffer of its own, so that avail and eof can tell what
// the buffer holds. Files written from the start ("wb") are written to a temporary
// name beside the file and renamed over it when closed, so a crash never leaves a
// half-written file under the real name.
#pragma once

#include <memory>
#include <string>

#include "runtime/io/stream.h"

namespace tarsk {

enum class FileMode { kRead, kReadWrite, kWrite };  // "rb", "r+b", "wb"

class FileStream final : public Stream {
public:
    // nullptr when the file cannot be opened in that mode (folders never open).
    static FileStream* open(const std::string& systemPath, FileMode mode);

    void destroy() override;
    int32_t read(void* buffer, int32_t size) override;
    int32_t write(const void* buffer, int32_t size) override;
    // Unread bytes in the read buffer; never asks the file.
    int32_t avail() override;
    // 0 while the buffer holds unread bytes, else 1 when fetching more gives nothing.
    int32_t eof() override;

    int32_t position();
    // The new offset, or -1 when the move fails.
    int32_t seek(int32_t offset);

private:
    FileStream(int fd, FileMode mode, std::string tempPath, std::string finalPath);
    ~FileStream() override;
    bool fill();
    void flushWrites();
    void dropReadBuffer();

    static constexpr int32_t kBufferSize = 65536;
    int fd_;
    FileMode mode_;
    std::string tempPath_;   // set while written under a temporary name
    std::string finalPath_;
    std::unique_ptr<char[]> readBuffer_;
    std::unique_ptr<char[]> writeBuffer_;
    int32_t readPos_ = 0;
    int32_t readEnd_ = 0;
    int32_t writeLength_ = 0;
    bool writeFailed_ = false;

    template <class T, class... Args>
    friend T* arenaNew(Args&&... args);
    template <class T>
    friend void arenaDelete(T* record);
};

}  // namespace tarsk
