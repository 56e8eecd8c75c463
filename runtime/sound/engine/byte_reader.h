#pragma once
// Random access to the bytes of an encoded sound: an open file or a memory copy.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace tarsk::audio {

class ByteReader {
public:
  static std::unique_ptr<ByteReader> openFile(const std::string& path);
  static std::unique_ptr<ByteReader> fromMemory(std::vector<uint8_t> data);
  ~ByteReader();
  ByteReader(const ByteReader&) = delete;
  ByteReader& operator=(const ByteReader&) = delete;

  size_t read(void* out, size_t bytes);
  // whence as for fseek; false when the target lies outside the data.
  bool seek(int64_t offset, int whence);
  int64_t tell() const { return pos_; }
  int64_t size() const { return size_; }
  // The whole content (reads a file from the start; leaves the position at 0).
  std::vector<uint8_t> readAll();
  const std::string& path() const { return path_; }

private:
  ByteReader() = default;
  FILE* file_ = nullptr;
  std::vector<uint8_t> memory_;
  int64_t pos_ = 0;
  int64_t size_ = 0;
  std::string path_;
};

}  // namespace tarsk::audio
