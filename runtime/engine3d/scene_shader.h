// The scene's one shader program: per-vertex fixed-function lighting, eight texture
// stages, specular, linear fog and the alpha test.
#pragma once

#include <string>

namespace tarsk {

std::string sceneVertexShaderSource();
std::string sceneFragmentShaderSource();

}  // namespace tarsk
