// How one texture applies at one texture stage of the renderer: plain data, decided from the
// texture's flags, blend, coordinate set, transform and the frame canvas's cube mode.
//
// The renderer sets the stages in brush slot order. For each stage it samples `canvas`
// (textureOf(device, canvas->renderSurface()); a cube canvas is sampled as a cube map) with
// the address modes, builds the coordinates from `source`, applies `transform`, and combines:
//   colour = colourOp(texture colour, current colour)
//   alpha  = alphaOp(texture alpha, current alpha)
// where "current" is the previous stage's result, or the vertex colour and alpha at stage 0.
#pragma once

#include <cstdint>

namespace tarsk {

class gxCanvas;
class TextureRep;

enum class TextureAddress : uint8_t { kWrap, kClamp };

// Where the stage's input coordinates come from.
enum class TextureCoordSource : uint8_t {
    kVertexSet,            // the vertex's texture-coordinate set `coordinateSet` (u, v, 0)
    kCameraSpaceNormal,    // the vertex normal in camera space (x, y, z)
    kCameraSpacePosition,  // the vertex position in camera space
    kCameraSpaceReflection,  // the eye vector reflected about the normal, in camera space
};

// What is applied to the input coordinates.
enum class TextureTransformKind : uint8_t {
    kNone,           // the input is used as it is
    kAffine2,        // two outputs: (u', v') = the first two columns of `matrix` applied
    kCameraToWorld,  // three outputs: the input turned by the transpose of the camera's rotation
                     // (camera space back to world space); `matrix` is not used
};

enum class TextureColourOp : uint8_t {
    kUnchanged,          // keep the colour operation this stage had before
    kBlendTextureAlpha,  // texture·a + current·(1 − a), a the texture alpha
    kModulate,           // texture · current
    kAdd,                // texture + current, saturated
    kDotProduct3,        // 4·dot(texture − 0.5, current − 0.5) in every channel, saturated
    kModulate2x,         // 2 · texture · current, saturated
};

enum class TextureAlphaOp : uint8_t {
    kModulate,       // texture alpha · current alpha
    kSelectCurrent,  // current alpha, the texture's ignored
};

struct TextureStageState {
    gxCanvas* canvas = nullptr;  // the frame to sample; nullptr when the frame does not exist
    bool cube = false;           // sample the canvas as a cube map
    TextureAddress addressU = TextureAddress::kWrap;
    TextureAddress addressV = TextureAddress::kWrap;
    TextureCoordSource source = TextureCoordSource::kVertexSet;
    int32_t coordinateSet = 0;  // 0 or 1, used with kVertexSet
    TextureTransformKind transformKind = TextureTransformKind::kNone;
    // Affine map of the input (x, y, z), one row per input component and the fourth row
    // the translation: out = x·row0 + y·row1 + z·row2 + row3. For vertex coordinates the
    // input is (u, v, 0).
    float matrix[4][3] = {};
    TextureColourOp colourOp = TextureColourOp::kModulate;
    TextureAlphaOp alphaOp = TextureAlphaOp::kSelectCurrent;
};

// What a stage needs to know of a texture. transform is the texture's twelve floats
// (rows 0 and 1 linear, row 2 translation, row 3 zero) or nullptr when not in use.
struct TextureStageInput {
    gxCanvas* canvas = nullptr;
    int32_t flags = 0;
    int32_t blend = 2;
    int32_t coordinateSet = 0;
    const float* transform = nullptr;
    int32_t cubeMode = 1;
};

TextureStageState decideTextureStage(const TextureStageInput& input);
// The stage of a texture's frame (the cube mode is the frame canvas's).
TextureStageState textureStage(TextureRep& texture, int32_t frame);

}  // namespace tarsk
