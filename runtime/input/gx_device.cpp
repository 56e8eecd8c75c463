#include "runtime/input/gx_device.h"

#include <cstring>

namespace tarsk {

void gxDevice::keyDown(int32_t code) {
    if (!valid(code)) return;
    down_[code] = 1;
    ++hits_[code];
    if (put_ - get_ < kQueueSize) queue_[put_++ % kQueueSize] = code;  // a full queue drops the code
}

void gxDevice::keyUp(int32_t code) {
    if (valid(code)) down_[code] = 0;
}

void gxDevice::setButton(int32_t code, bool down) {
    if (!valid(code) || bool(down_[code]) == down) return;
    if (down)
        keyDown(code);
    else
        keyUp(code);
}

void gxDevice::reset() {
    std::memset(down_, 0, sizeof down_);
    std::memset(axes_, 0, sizeof axes_);
    flush();
}

void gxDevice::flush() {
    std::memset(hits_, 0, sizeof hits_);
    put_ = get_ = 0;
}

int32_t gxDevice::takeHits(int32_t code) {
    if (!valid(code)) return 0;
    int32_t count = hits_[code];
    hits_[code] = 0;
    return count;
}

int32_t gxDevice::nextCode() {
    if (get_ == put_) return 0;
    return queue_[get_++ % kQueueSize];
}

}  // namespace tarsk
