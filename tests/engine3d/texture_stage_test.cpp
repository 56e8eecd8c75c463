// The texture stage decisions: address modes, coordinate source, transform and the colour
// and alpha operations, from a texture's flags, blend, coordinate set and cube mode.
#include <gtest/gtest.h>

#include <array>

#include "runtime/engine3d/texture_stage.h"

namespace tarsk {
namespace {

using Source = TextureCoordSource;
using Kind = TextureTransformKind;

std::array<float, 2> applied(const TextureStageState& stage, float x, float y, float z) {
    const auto& m = stage.matrix;
    return {x * m[0][0] + y * m[1][0] + z * m[2][0] + m[3][0], x * m[0][1] + y * m[1][1] + z * m[2][1] + m[3][1]};
}

TEST(TextureStage, AddressModesAndCoordinateSourceByFlags) {
    struct Case {
        int32_t flags, cubeMode, coordinateSet;
        TextureAddress u, v;
        Source source;
        Kind transform;
        bool cube;
        int32_t usedSet;
    } cases[] = {
        {0, 1, 0, TextureAddress::kWrap, TextureAddress::kWrap, Source::kVertexSet, Kind::kNone, false, 0},
        {16, 1, 3, TextureAddress::kClamp, TextureAddress::kWrap, Source::kVertexSet, Kind::kNone, false, 1},
        {32, 1, 2, TextureAddress::kWrap, TextureAddress::kClamp, Source::kVertexSet, Kind::kNone, false, 0},
        {64, 1, 1, TextureAddress::kWrap, TextureAddress::kWrap, Source::kCameraSpaceNormal, Kind::kAffine2, false, 0},
        {128, 1, 0, TextureAddress::kWrap, TextureAddress::kWrap, Source::kCameraSpaceReflection, Kind::kCameraToWorld,
         true, 0},
        {128, 2, 0, TextureAddress::kWrap, TextureAddress::kWrap, Source::kCameraSpaceNormal, Kind::kCameraToWorld,
         true, 0},
        {128, 3, 0, TextureAddress::kWrap, TextureAddress::kWrap, Source::kCameraSpacePosition, Kind::kCameraToWorld,
         true, 0},
        {128 | 48, 6, 0, TextureAddress::kClamp, TextureAddress::kClamp, Source::kCameraSpaceNormal, Kind::kNone, true,
         0},
        {128, 4, 0, TextureAddress::kWrap, TextureAddress::kWrap, Source::kCameraSpaceReflection, Kind::kNone, true, 0},
        // Both mapping bits: neither sphere nor cube, the vertex coordinates.
        {192, 2, 1, TextureAddress::kWrap, TextureAddress::kWrap, Source::kVertexSet, Kind::kNone, false, 1},
    };
    for (const Case& c : cases) {
        TextureStageInput input;
        input.flags = c.flags;
        input.cubeMode = c.cubeMode;
        input.coordinateSet = c.coordinateSet;
        TextureStageState stage = decideTextureStage(input);
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " mode " << c.cubeMode);
        EXPECT_EQ(stage.addressU, c.u);
        EXPECT_EQ(stage.addressV, c.v);
        EXPECT_EQ(stage.source, c.source);
        EXPECT_EQ(stage.transformKind, c.transform);
        EXPECT_EQ(stage.cube, c.cube);
        EXPECT_EQ(stage.coordinateSet, c.usedSet);
    }
}

TEST(TextureStage, SphereMapTakesTheCameraSpaceNormalToTheUnitSquare) {
    TextureStageInput input;
    input.flags = 64;
    float transform[12] = {9, 9, 9, 9, 9, 9, 9, 9, 9};  // a texture transform does not apply
    input.transform = transform;
    TextureStageState stage = decideTextureStage(input);
    EXPECT_EQ(applied(stage, 0, 0, 1), (std::array<float, 2>{0.5f, 0.5f}));
    EXPECT_EQ(applied(stage, 1, 0, 0), (std::array<float, 2>{1.0f, 0.5f}));
    EXPECT_EQ(applied(stage, 0, 1, 0), (std::array<float, 2>{0.5f, 0.0f}));
    EXPECT_EQ(applied(stage, 0, -1, 0), (std::array<float, 2>{0.5f, 1.0f}));
}

TEST(TextureStage, TextureTransformMapsVertexCoordinatesWithItsThirdRowAsTranslation) {
    // Rows (2, 3, 0), (5, 7, 0), (0.25, 0.5, 0), (0, 0, 0).
    float transform[12] = {2, 3, 0, 5, 7, 0, 0.25f, 0.5f, 0, 0, 0, 0};
    TextureStageInput input;
    input.transform = transform;
    TextureStageState stage = decideTextureStage(input);
    ASSERT_EQ(stage.transformKind, Kind::kAffine2);
    EXPECT_EQ(applied(stage, 1, 0, 0), (std::array<float, 2>{2.25f, 3.5f}));
    EXPECT_EQ(applied(stage, 0, 1, 0), (std::array<float, 2>{5.25f, 7.5f}));
    EXPECT_EQ(applied(stage, 0, 0, 0), (std::array<float, 2>{0.25f, 0.5f}));
    // A cube map ignores it.
    input.flags = 128;
    EXPECT_EQ(decideTextureStage(input).transformKind, Kind::kCameraToWorld);
}

TEST(TextureStage, ColourOperationByBlendAndAlphaOperationByAlphaFlag) {
    using Op = TextureColourOp;
    const Op expected[] = {Op::kUnchanged, Op::kBlendTextureAlpha, Op::kModulate, Op::kAdd,
                           Op::kDotProduct3, Op::kModulate2x, Op::kUnchanged};
    for (int32_t blend = 0; blend < 7; ++blend) {
        TextureStageInput input;
        input.blend = blend;
        EXPECT_EQ(decideTextureStage(input).colourOp, expected[blend]) << blend;
    }
    TextureStageInput input;
    input.flags = 1 | 8 | 65536;
    EXPECT_EQ(decideTextureStage(input).alphaOp, TextureAlphaOp::kSelectCurrent);
    input.flags |= 2;
    EXPECT_EQ(decideTextureStage(input).alphaOp, TextureAlphaOp::kModulate);
}

}  // namespace
}  // namespace tarsk
