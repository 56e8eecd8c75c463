#include "tests/support/screenshot.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/process.h"

namespace tarsk::test {
namespace {

uint32_t bigEndian(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

}  // namespace

int Screenshot::count(int left, int top, int right, int bottom, uint32_t colour) const {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) n += at(x, y) == colour;
    return n;
}

Screenshot takeScreenshot() {
    char path[] = "/tmp/tarsk-screen-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) return {};
    close(fd);
    ProcessResult result = runProcess({"/usr/bin/xwd", "-root", "-silent", "-out", path});
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    unlink(path);
    Screenshot shot;
    if (result.status != 0 || bytes.size() < 100) return shot;
    uint32_t field[25];
    for (int i = 0; i < 25; ++i) field[i] = bigEndian(&bytes[size_t(4 * i)]);
    uint32_t headerSize = field[0], lsbFirst = field[7] == 0, bitsPerPixel = field[11], bytesPerLine = field[12];
    uint32_t colours = field[19], pixelBytes = bitsPerPixel / 8;
    int width = int(field[4]), height = int(field[5]);
    size_t data = headerSize + size_t(colours) * 12;
    if ((pixelBytes != 3 && pixelBytes != 4) || width <= 0 || height <= 0 || bytesPerLine < width * pixelBytes ||
        bytes.size() < data + size_t(bytesPerLine) * height)
        return shot;
    shot.width = width;
    shot.height = height;
    shot.rgb.reserve(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &bytes[data + size_t(y) * bytesPerLine + size_t(x) * pixelBytes];
            uint32_t value = 0;
            for (uint32_t i = 0; i < pixelBytes; ++i) value |= uint32_t(p[lsbFirst ? i : pixelBytes - 1 - i]) << (8 * i);
            shot.rgb.push_back(value & 0xFFFFFFu);
        }
    }
    return shot;
}

Screenshot awaitScreenshot(const std::function<bool(const Screenshot&)>& ready, const std::function<void()>& wait) {
    Screenshot shot;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wait();
        shot = takeScreenshot();
        if (!shot.empty() && ready(shot)) break;
    }
    return shot;
}

}  // namespace tarsk::test
