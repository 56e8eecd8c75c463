#include "runtime/engine3d/texture_stage.h"

#include "runtime/engine3d/texture.h"
#include "runtime/graphics/canvas_flags.h"
#include "runtime/graphics/gx_canvas.h"

namespace tarsk {
namespace {

constexpr int32_t kClampU = 16;
constexpr int32_t kClampV = 32;
constexpr int32_t kSphereMap = 64;
constexpr int32_t kMappingBits = kSphereMap | CV_CUBE;
constexpr int32_t kCubeModeKeepCameraSpace = 4;

TextureColourOp colourOpOf(int32_t blend) {
    switch (blend) {
        case 1: return TextureColourOp::kBlendTextureAlpha;
        case 2: return TextureColourOp::kModulate;
        case 3: return TextureColourOp::kAdd;
        case 4: return TextureColourOp::kDotProduct3;
        case 5: return TextureColourOp::kModulate2x;
        default: return TextureColourOp::kUnchanged;
    }
}

TextureCoordSource cubeSourceOf(int32_t cubeMode) {
    switch (cubeMode & 3) {
        case 2: return TextureCoordSource::kCameraSpaceNormal;
        case 3: return TextureCoordSource::kCameraSpacePosition;
        default: return TextureCoordSource::kCameraSpaceReflection;
    }
}

}  // namespace

TextureStageState decideTextureStage(const TextureStageInput& input) {
    TextureStageState stage;
    stage.canvas = input.canvas;
    stage.addressU = (input.flags & kClampU) ? TextureAddress::kClamp : TextureAddress::kWrap;
    stage.addressV = (input.flags & kClampV) ? TextureAddress::kClamp : TextureAddress::kWrap;
    switch (input.flags & kMappingBits) {
        case kSphereMap:
            // u = 0.5·nx + 0.5, v = −0.5·ny + 0.5 of the camera-space normal.
            stage.source = TextureCoordSource::kCameraSpaceNormal;
            stage.transformKind = TextureTransformKind::kAffine2;
            stage.matrix[0][0] = 0.5f;
            stage.matrix[1][1] = -0.5f;
            stage.matrix[3][0] = 0.5f;
            stage.matrix[3][1] = 0.5f;
            break;
        case CV_CUBE:
            stage.cube = true;
            stage.source = cubeSourceOf(input.cubeMode);
            stage.transformKind = (input.cubeMode & kCubeModeKeepCameraSpace) ? TextureTransformKind::kNone
                                                                              : TextureTransformKind::kCameraToWorld;
            break;
        default:
            stage.source = TextureCoordSource::kVertexSet;
            stage.coordinateSet = input.coordinateSet & 1;
            if (input.transform) {
                // The texture's rows 0 and 1 take u and v, its row 2 is the translation.
                stage.transformKind = TextureTransformKind::kAffine2;
                for (int column = 0; column < 3; ++column) {
                    stage.matrix[0][column] = input.transform[column];
                    stage.matrix[1][column] = input.transform[3 + column];
                    stage.matrix[3][column] = input.transform[6 + column];
                }
            }
            break;
    }
    stage.colourOp = colourOpOf(input.blend);
    stage.alphaOp = (input.flags & CV_ALPHA) ? TextureAlphaOp::kModulate : TextureAlphaOp::kSelectCurrent;
    return stage;
}

TextureStageState textureStage(TextureRep& texture, int32_t frame) {
    TextureStageInput input;
    input.canvas = texture.frame(frame);
    input.flags = texture.flags();
    input.blend = texture.blend();
    input.coordinateSet = texture.coordinateSet();
    input.transform = texture.transform();
    if (input.canvas) input.cubeMode = input.canvas->cubeMode();
    return decideTextureStage(input);
}

}  // namespace tarsk
