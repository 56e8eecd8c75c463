// The stream command module: typed little-endian reads and writes, lines, the string
// record (32-bit length, then the bytes) and CopyStream on any live stream.
#include <cstring>
#include <memory>
#include <string>

#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/io/stream.h"
#include "runtime/language/strings.h"

using tarsk::liveStream;
using tarsk::Stream;

namespace {

constexpr int32_t kStringChunk = 65536;
constexpr int32_t kMaxCopyBuffer = 1048576;

template <class T>
T readValue(int32_t handle) {
    T value{};
    liveStream(handle)->read(&value, sizeof value);
    return value;
}

template <class T>
void writeValue(int32_t handle, T value) {
    liveStream(handle)->write(&value, sizeof value);
}

}  // namespace

extern "C" {

int32_t _feof(int32_t stream) { return liveStream(stream)->eof(); }
int32_t _freadavail(int32_t stream) { return liveStream(stream)->avail(); }
int32_t _freadbyte(int32_t stream) { return readValue<uint8_t>(stream); }
int32_t _freadshort(int32_t stream) { return readValue<uint16_t>(stream); }
int32_t _freadint(int32_t stream) { return readValue<int32_t>(stream); }
float _freadfloat(int32_t stream) { return readValue<float>(stream); }

// The length comes from the data, so the text grows only as bytes arrive: a negative
// or huge length gives what was read, never an allocation of its size.
tbString* _freadstring(int32_t stream) {
    Stream* source = liveStream(stream);
    int32_t length = 0;
    if (source->read(&length, sizeof length) == 0 || length <= 0) return tarsk::stringNew();
    std::string text;
    while (int32_t(text.size()) < length) {
        int32_t chunk = std::min(kStringChunk, length - int32_t(text.size()));
        size_t start = text.size();
        text.resize(start + size_t(chunk));
        int32_t got = source->read(text.data() + start, chunk);
        text.resize(start + size_t(got > 0 ? got : 0));
        if (got < chunk) break;
    }
    return tarsk::stringNew(text);
}

tbString* _freadline(int32_t stream) {
    Stream* source = liveStream(stream);
    std::string line;
    char c;
    while (source->read(&c, 1) == 1 && c != '\n')
        if (c != '\r') line += c;
    return tarsk::stringNew(line);
}

void _fwritebyte(int32_t stream, int32_t value) { writeValue<uint8_t>(stream, uint8_t(value)); }
void _fwriteshort(int32_t stream, int32_t value) { writeValue<uint16_t>(stream, uint16_t(value)); }
void _fwriteint(int32_t stream, int32_t value) { writeValue<int32_t>(stream, value); }
void _fwritefloat(int32_t stream, float value) { writeValue<float>(stream, value); }

void _fwritestring(int32_t stream, tbString* string) {
    tarsk::StringArg text(string);
    Stream* dest = liveStream(stream);
    int32_t length = int32_t(text.view().size());
    dest->write(&length, sizeof length);
    dest->write(text.view().data(), length);
}

void _fwriteline(int32_t stream, tbString* string) {
    tarsk::StringArg text(string);
    Stream* dest = liveStream(stream);
    dest->write(text.view().data(), int32_t(text.view().size()));
    dest->write("\r\n", 2);
}

void _fcopystream(int32_t sourceStream, int32_t destStream, int32_t bufferSize) {
    Stream* source = liveStream(sourceStream);
    Stream* dest = liveStream(destStream);
    if (bufferSize < 1 || bufferSize > kMaxCopyBuffer) tarsk::runtimeError("Illegal buffer size");
    auto buffer = std::make_unique<char[]>(size_t(bufferSize));
    if (source->eof()) return;
    while (!dest->eof()) {
        int32_t n = source->read(buffer.get(), bufferSize);
        dest->write(buffer.get(), n);
        if (n < bufferSize || source->eof()) break;
    }
}

}  // extern "C"

namespace tarsk {

void stream_link(Registrar add) {
    add("%Eof%stream", reinterpret_cast<const void*>(_feof));
    add("%ReadAvail%stream", reinterpret_cast<const void*>(_freadavail));
    add("%ReadByte%stream", reinterpret_cast<const void*>(_freadbyte));
    add("%ReadShort%stream", reinterpret_cast<const void*>(_freadshort));
    add("%ReadInt%stream", reinterpret_cast<const void*>(_freadint));
    add("#ReadFloat%stream", reinterpret_cast<const void*>(_freadfloat));
    add("$ReadString%stream", reinterpret_cast<const void*>(_freadstring));
    add("$ReadLine%stream", reinterpret_cast<const void*>(_freadline));
    add("WriteByte%stream%byte", reinterpret_cast<const void*>(_fwritebyte));
    add("WriteShort%stream%short", reinterpret_cast<const void*>(_fwriteshort));
    add("WriteInt%stream%int", reinterpret_cast<const void*>(_fwriteint));
    add("WriteFloat%stream#float", reinterpret_cast<const void*>(_fwritefloat));
    add("WriteString%stream$string", reinterpret_cast<const void*>(_fwritestring));
    add("WriteLine%stream$string", reinterpret_cast<const void*>(_fwriteline));
    add("CopyStream%src_stream%dest_stream%buffer_size=16384", reinterpret_cast<const void*>(_fcopystream));
}

bool stream_create() { return true; }
void stream_destroy() {}

}  // namespace tarsk
