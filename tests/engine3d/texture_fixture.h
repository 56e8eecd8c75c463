// The texture tests' fixture: an open world on a display without a window (as the
// graphics module would have it), debug checks on, and pictures written into a scratch
// folder through the image library.
#pragma once

#include <FreeImage.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/engine3d/texture.h"
#include "runtime/graphics/display_modes.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"
#include "tests/engine3d/engine3d_fixture.h"
#include "tests/graphics/display_fixture.h"

namespace tarsk::test {

class TextureWorld : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        graphicsState().display = display_;
        selectBuffer(display_->backCanvas());
        ASSERT_TRUE(tarsk3d_create());
        debugChecks = true;
        folder_ = std::filesystem::temp_directory_path() / ("tarsk_textures_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        debugChecks = false;
        tarsk3d_destroy();
        graphicsState().buffer = nullptr;
        graphicsState().display = nullptr;
        DisplayTest::TearDown();
        std::filesystem::remove_all(folder_);
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // Writes a picture of cells (width x height each, one RGB colour each) laid out in rows
    // of `columns`, top row first, and returns its path.
    std::string writeCells(const std::string& name, int width, int height, int columns,
                           const std::vector<uint32_t>& colours, FREE_IMAGE_FORMAT type = FIF_PNG) {
        int rows = (int(colours.size()) + columns - 1) / columns;
        FIBITMAP* bitmap = FreeImage_Allocate(width * columns, height * rows, 24);
        for (int y = 0; y < height * rows; ++y) {
            BYTE* row = FreeImage_GetScanLine(bitmap, height * rows - 1 - y);
            for (int x = 0; x < width * columns; ++x) {
                size_t cell = size_t(y / height * columns + x / width);
                uint32_t colour = cell < colours.size() ? colours[cell] : 0;
                row[x * 3 + FI_RGBA_RED] = BYTE(colour >> 16);
                row[x * 3 + FI_RGBA_GREEN] = BYTE(colour >> 8);
                row[x * 3 + FI_RGBA_BLUE] = BYTE(colour);
            }
        }
        std::filesystem::create_directories((folder_ / name).parent_path());
        std::string file = path(name);
        EXPECT_TRUE(FreeImage_Save(type, bitmap, file.c_str(), 0));
        FreeImage_Unload(bitmap);
        return file;
    }
    // One row of cells.
    std::string writeStrip(const std::string& name, int width, int height, const std::vector<uint32_t>& colours) {
        return writeCells(name, width, height, int(colours.size()), colours);
    }

    static TextureRep& repOf(int32_t handle) { return *checkedTexture(handle)->rep; }
    // The RGB of a frame's pixel.
    static uint32_t rgbAt(int32_t handle, int32_t frame, int32_t x, int32_t y) {
        return repOf(handle).frame(frame)->peekPixel(x, y) & 0xFFFFFFu;
    }

    std::filesystem::path folder_;
};

}  // namespace tarsk::test
