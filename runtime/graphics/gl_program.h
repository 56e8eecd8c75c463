// Shader programs from GLSL sources, on the current GL context.
#pragma once

#include "runtime/graphics/gl_api.h"

namespace tarsk {

// The linked program of the two stages, or 0 when either stage does not compile or the
// program does not link (nothing is left behind then).
GLuint linkShaderProgram(const char* vertexSource, const char* fragmentSource);

}  // namespace tarsk
