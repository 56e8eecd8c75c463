// Picks the decoder for a file: by content, the most specific decoder first.
#include "sound/engine/decoders/decoders.h"
#include "sound/engine/source.h"

namespace tarsk::audio {
namespace {

std::unique_ptr<Source> openFrom(std::unique_ptr<ByteReader> reader, const OpenOptions& options) {
  if (!reader || reader->size() == 0) return nullptr;
  if (auto s = tryMidi(reader)) return s;
  if (auto s = trySndfile(reader)) return s;
  if (auto s = tryModule(reader, options)) return s;
  if (auto s = tryMpg123(reader)) return s;
  return tryFfmpeg(reader);
}

}  // namespace

std::unique_ptr<Source> openSourceFile(const std::string& path, const OpenOptions& options) {
  return openFrom(ByteReader::openFile(path), options);
}

std::unique_ptr<Source> openSourceMemory(std::vector<uint8_t> data, const OpenOptions& options) {
  return openFrom(ByteReader::fromMemory(std::move(data)), options);
}

std::unique_ptr<Source> openModuleFile(const std::string& path, const OpenOptions& options) {
  auto reader = ByteReader::openFile(path);
  return reader ? tryModule(reader, options) : nullptr;
}

std::unique_ptr<Source> openModuleMemory(std::vector<uint8_t> data, const OpenOptions& options) {
  auto reader = ByteReader::fromMemory(std::move(data));
  return tryModule(reader, options);
}

}  // namespace tarsk::audio
