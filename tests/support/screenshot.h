// The X server's root window as the outside tool xwd captures it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tarsk::test {

struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;  // 0xRRGGBB, rows top-down
    bool empty() const { return rgb.empty(); }
    // 0xFFFFFFFF outside the screen.
    uint32_t at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height ? rgb[size_t(y) * width + x] : 0xFFFFFFFFu;
    }
    // Pixels of the colour in [left, right) x [top, bottom).
    int count(int left, int top, int right, int bottom, uint32_t colour) const;
};

// An empty screenshot when xwd fails or writes something unreadable.
Screenshot takeScreenshot();

// Screenshots until one satisfies `ready`, calling `wait` before each (about 100 tries);
// the last one taken when none does. A loaded machine presents late.
Screenshot awaitScreenshot(const std::function<bool(const Screenshot&)>& ready, const std::function<void()>& wait);

}  // namespace tarsk::test
