#pragma once
// The decoders. Each tries the reader's data; on success it takes the reader,
// otherwise it leaves the reader where it was, rewound to the start.
#include <memory>

#include "sound/engine/byte_reader.h"
#include "sound/engine/source.h"

namespace tarsk::audio {

std::unique_ptr<Source> trySndfile(std::unique_ptr<ByteReader>& reader);
std::unique_ptr<Source> tryMpg123(std::unique_ptr<ByteReader>& reader);
std::unique_ptr<Source> tryFfmpeg(std::unique_ptr<ByteReader>& reader);
std::unique_ptr<Source> tryModule(std::unique_ptr<ByteReader>& reader, const OpenOptions& options);
std::unique_ptr<Source> tryMidi(std::unique_ptr<ByteReader>& reader);

// The rate modules and MIDI are rendered at when the caller names none.
constexpr int kSynthRate = 44100;

}  // namespace tarsk::audio
