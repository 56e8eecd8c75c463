// The scene's lifetime as a program sees it: entities work before any Graphics3D,
// Graphics3D opens the world with a GL scene, another mode closes it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "runtime/engine3d/camera.h"
#include "runtime/engine3d/scene_context.h"
#include "runtime/engine3d/world.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/host/arena.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_interface.h"
#include "tarsk_commands.h"
#include "tests/support/command_calls.h"
#include "tests/support/program_frame.h"

namespace tarsk::test {
namespace {

std::string runWith3D(std::function<void()> test) {
    return runAsProgram(test, {.modules = {"basic", "graphics", "tarsk3d"}, .debugChecks = false});
}

TEST(RenderMode, Graphics3DOpensTheSceneAndTheNextModeClosesIt) {
    std::string error = runWith3D([] {
        // A runtime error ends the program at its next event pump, so the errors come last.
        int32_t early = _fcreatepivot(0);
        EXPECT_NE(early, 0);
        EXPECT_EQ(currentScene(), nullptr);

        _fgraphics3d(160, 120, 0, 2);
        EXPECT_EQ(currentWorld()->entities.count(fromHandle<Entity>(early)), 0u);  // the world was reopened
        int32_t camera = _fcreatecamera(0);
        Viewport v = fromHandle<Entity>(camera)->asCamera()->viewport();
        EXPECT_EQ(v.width, 160);
        EXPECT_EQ(v.height, 120);
        int32_t cube = _fcreatecube(0);
        _fpositionentity(cube, 0, 0, 5, 0);
        _frenderworld(1);
        EXPECT_EQ(_ftrisrendered(), 12);
        EXPECT_EQ(graphicsState().buffer->peekPixel(80, 60) & 0xFFFFFF, 0x7F7F7Fu);
        EXPECT_EQ(graphicsState().buffer->peekPixel(2, 2) & 0xFFFFFF, 0u);
        EXPECT_EQ(_fhwtexunits(), 8);
        EXPECT_EQ(_fgfxdrivercaps3d(), 110);

        _fgraphics(160, 120, 0, 2);
        EXPECT_EQ(currentScene(), nullptr);
        EXPECT_EQ(errorOf([] { _fcreatepivot(0); }), "3D Graphics mode not set");
        EXPECT_EQ(errorOf([] { _fambientlight(0, 0, 0); }), "3D Graphics mode not set");
    });
    EXPECT_EQ(error, "");
}

}  // namespace
}  // namespace tarsk::test
