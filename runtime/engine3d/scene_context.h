// The scene of the open 3D mode and the renderer that draws the world through it. They
// exist from Graphics3D until the mode closes; the world exists without them too (3D
// commands that do not draw work before any Graphics3D).
#pragma once

#include <memory>

#include "runtime/engine3d/gx_scene3d.h"
#include "runtime/engine3d/render_world.h"

namespace tarsk {

class gxDisplay;

// The scene, or nullptr without a 3D mode.
gxScene3D* currentScene();
// The scene; "3D Graphics mode not set" without one.
gxScene3D& requireScene();
WorldRenderer& sceneRenderer();

// Graphics3D: the world opens afresh with a scene on the display's GL device;
// "Unable to create 3D Scene" when that cannot be made.
void openScene3D(gxDisplay& display);
// A world with the given scene (tests use a recording scene).
void openSceneWith(std::unique_ptr<gxScene3D> scene, gxDisplay* display);
// Closes the world and drops the scene (nothing when none is open).
void closeScene3D();
// A mode change: the world of a 3D mode closes with it; a world opened without one
// (programs and tests that use entities before any Graphics3D) stays.
void closeSceneForModeChange();

// Statistics read by Stats3D: 0 triangles tested by picks and collisions since the last
// UpdateWorld, 1 and 2 the largest vertex and triangle counts of one terrain draw.
float* stats3D();

}  // namespace tarsk
