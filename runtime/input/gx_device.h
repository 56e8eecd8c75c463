// One input device as programs see it: down states, hit counters, a queue of codes
// and axis values. Codes are 0..255; others are ignored or read as 0.
#pragma once

#include <cstdint>

namespace tarsk {

class gxDevice {
public:
    static constexpr int kCodes = 256;
    static constexpr int kAxes = 32;
    static constexpr uint32_t kQueueSize = 32;

    void keyDown(int32_t code);
    void keyUp(int32_t code);
    // A state read from a device: a change to down counts as a press.
    void setButton(int32_t code, bool down);
    void reset();
    // Clears hit counters and the queue; down states stay.
    void flush();

    bool isDown(int32_t code) const { return valid(code) && down_[code]; }
    // The presses since the last read of this code.
    int32_t takeHits(int32_t code);
    // The next queued code, or 0.
    int32_t nextCode();
    float axis(int32_t index) const { return index >= 0 && index < kAxes ? axes_[index] : 0.0f; }
    void setAxis(int32_t index, float value) {
        if (index >= 0 && index < kAxes) axes_[index] = value;
    }

private:
    static bool valid(int32_t code) { return code >= 0 && code < kCodes; }

    float axes_[kAxes] = {};
    int32_t hits_[kCodes] = {};
    uint8_t down_[kCodes] = {};
    int32_t queue_[kQueueSize] = {};
    uint32_t put_ = 0;
    uint32_t get_ = 0;
};

}  // namespace tarsk
