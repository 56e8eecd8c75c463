#include "runtime/io/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "runtime/host/arena.h"

namespace tarsk {
namespace {

ssize_t readSome(int fd, void* buffer, size_t size) {
    ssize_t n;
    do n = ::read(fd, buffer, size);
    while (n < 0 && errno == EINTR);
    return n;
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A new file beside finalPath, with the mode of the file it replaces.
int createTemporary(const std::string& finalPath, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    struct stat old;
    mode_t mode = stat(finalPath.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".%d-%u.partial", int(getpid()), counter++);
        tempPath = finalPath + suffix;
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            if (mode != 0666) fchmod(fd, mode);
            return fd;
        }
        if (errno != EEXIST) break;
    }
    tempPath.clear();
    return -1;
}

}  // namespace

FileStream* FileStream::open(const std::string& systemPath, FileMode mode) {
    if (systemPath.empty() || isFolder(systemPath)) return nullptr;
    std::string tempPath, finalPath;
    int fd = -1;
    if (mode == FileMode::kWrite) {
        finalPath = systemPath;
        if (char* target = realpath(systemPath.c_str(), nullptr)) {  // write through symbolic links
            finalPath = target;
            free(target);
        }
        fd = createTemporary(finalPath, tempPath);
        if (fd < 0) fd = ::open(systemPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } else {
        fd = ::open(systemPath.c_str(), (mode == FileMode::kRead ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    }
    if (fd < 0) return nullptr;
    return arenaNew<FileStream>(fd, mode, std::move(tempPath), std::move(finalPath));
}

FileStream::FileStream(int fd, FileMode mode, std::string tempPath, std::string finalPath)
    : fd_(fd), mode_(mode), tempPath_(std::move(tempPath)), finalPath_(std::move(finalPath)) {}

FileStream::~FileStream() {
    flushWrites();
    bool complete = !writeFailed_;
    ::close(fd_);
    if (!tempPath_.empty()) {
        if (complete) complete = std::rename(tempPath_.c_str(), finalPath_.c_str()) == 0;
        if (!complete) unlink(tempPath_.c_str());
    }
}

void FileStream::destroy() { arenaDelete(this); }

bool FileStream::fill() {
    if (mode_ == FileMode::kWrite) return false;
    if (!readBuffer_) readBuffer_ = std::make_unique<char[]>(kBufferSize);
    readPos_ = readEnd_ = 0;
    ssize_t n = readSome(fd_, readBuffer_.get(), kBufferSize);
    if (n <= 0) return false;
    readEnd_ = int32_t(n);
    return true;
}

void FileStream::flushWrites() {
    if (writeLength_ == 0) return;
    if (!writeAll(fd_, writeBuffer_.get(), size_t(writeLength_))) writeFailed_ = true;
    writeLength_ = 0;
}

// Gives the unread buffered bytes back to the file, so the file offset is the
// stream's position again.
void FileStream::dropReadBuffer() {
    if (readEnd_ > readPos_) lseek(fd_, -off_t(readEnd_ - readPos_), SEEK_CUR);
    readPos_ = readEnd_ = 0;
}

int32_t FileStream::read(void* buffer, int32_t size) {
    if (size <= 0 || mode_ == FileMode::kWrite) return 0;
    flushWrites();
    char* out = static_cast<char*>(buffer);
    int32_t done = 0;
    while (done < size) {
        if (readPos_ < readEnd_) {
            int32_t n = std::min(size - done, readEnd_ - readPos_);
            std::memcpy(out + done, readBuffer_.get() + readPos_, size_t(n));
            readPos_ += n;
            done += n;
        } else if (size - done >= kBufferSize) {
            ssize_t n = readSome(fd_, out + done, size_t(size - done));
            if (n <= 0) break;
            done += int32_t(n);
        } else if (!fill()) {
            break;
        }
    }
    return done;
}

int32_t FileStream::write(const void* buffer, int32_t size) {
    if (size <= 0 || mode_ == FileMode::kRead) return 0;
    dropReadBuffer();
    const char* data = static_cast<const char*>(buffer);
    if (writeLength_ + size > kBufferSize) flushWrites();
    if (size >= kBufferSize) {
        if (!writeAll(fd_, data, size_t(size))) {
            writeFailed_ = true;
            return 0;
        }
        return size;
    }
    if (!writeBuffer_) writeBuffer_ = std::make_unique<char[]>(kBufferSize);
    std::memcpy(writeBuffer_.get() + writeLength_, data, size_t(size));
    writeLength_ += size;
    return size;
}

int32_t FileStream::avail() { return readEnd_ - readPos_; }

int32_t FileStream::eof() {
    if (readPos_ < readEnd_) return 0;
    flushWrites();
    return fill() ? 0 : 1;
}

int32_t FileStream::position() {
    off_t offset = lseek(fd_, 0, SEEK_CUR);
    if (offset < 0) return -1;
    offset += writeLength_ - (readEnd_ - readPos_);
    return offset > INT32_MAX ? -1 : int32_t(offset);
}

int32_t FileStream::seek(int32_t offset) {
    flushWrites();
    dropReadBuffer();
    if (offset < 0) return -1;
    off_t result = lseek(fd_, offset, SEEK_SET);
    return result < 0 ? -1 : int32_t(result);
}

}  // namespace tarsk
