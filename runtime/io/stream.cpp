#include "runtime/io/stream.h"

#include <set>

#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"

namespace tarsk {
namespace {

std::set<const Stream*>& liveStreams() {
    static std::set<const Stream*> streams;
    return streams;
}

}  // namespace

Stream::Stream() { liveStreams().insert(this); }
Stream::~Stream() { liveStreams().erase(this); }

bool isLiveStream(int32_t handle) {
    return handle != 0 && liveStreams().count(fromHandle<const Stream>(handle)) != 0;
}

Stream* liveStream(int32_t handle) {
    if (!isLiveStream(handle)) runtimeError("Stream does not exist");
    return fromHandle<Stream>(handle);
}

}  // namespace tarsk
