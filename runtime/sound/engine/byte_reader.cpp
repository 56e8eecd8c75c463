#include "sound/engine/byte_reader.h"

#include <cstring>

namespace tarsk::audio {

std::unique_ptr<ByteReader> ByteReader::openFile(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return nullptr;
  std::unique_ptr<ByteReader> r(new ByteReader);
  r->file_ = f;
  r->path_ = path;
  if (std::fseek(f, 0, SEEK_END) == 0) r->size_ = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  if (r->size_ < 0) r->size_ = 0;
  return r;
}

std::unique_ptr<ByteReader> ByteReader::fromMemory(std::vector<uint8_t> data) {
  std::unique_ptr<ByteReader> r(new ByteReader);
  r->size_ = static_cast<int64_t>(data.size());
  r->memory_ = std::move(data);
  return r;
}

ByteReader::~ByteReader() {
  if (file_) std::fclose(file_);
}

size_t ByteReader::read(void* out, size_t bytes) {
  if (pos_ >= size_) return 0;
  size_t n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(bytes), size_ - pos_));
  if (file_) {
    if (std::fseek(file_, pos_, SEEK_SET) != 0) return 0;
    n = std::fread(out, 1, n, file_);
  } else {
    std::memcpy(out, memory_.data() + pos_, n);
  }
  pos_ += static_cast<int64_t>(n);
  return n;
}

bool ByteReader::seek(int64_t offset, int whence) {
  int64_t target = whence == SEEK_SET ? offset : whence == SEEK_CUR ? pos_ + offset : size_ + offset;
  if (target < 0 || target > size_) return false;
  pos_ = target;
  return true;
}

std::vector<uint8_t> ByteReader::readAll() {
  if (!file_) { pos_ = 0; return memory_; }
  std::vector<uint8_t> all(static_cast<size_t>(size_));
  pos_ = 0;
  all.resize(read(all.data(), all.size()));
  pos_ = 0;
  return all;
}

}  // namespace tarsk::audio
