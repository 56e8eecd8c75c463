// Surfaces uploading into driver meshes on a surfaceless GL context: the first 44 bytes
// of each vertex and the indices, uploads only after changes, growth by half, refills
// after a loss, and triangles naming missing vertices kept out of the index buffer.
#include <cstring>

#include "runtime/engine3d/mesh.h"
#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gx_mesh.h"
#include "tests/graphics/display_fixture.h"

namespace tarsk::test {
namespace {

class MeshUpload : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (!display_->glDevice()) GTEST_SKIP() << "no GL context on this machine";
        surface_ = geometry_.createSurface(Brush());
    }

    void addVertices(int32_t count) {
        for (int32_t i = 0; i < count; ++i) {
            int32_t index = surface_->vertexCount();
            surface_->addVertex({float(index), 2, 3}, 0.5f, float(index));
            surface_->setNormal(index, {0, 1, 0});
            surface_->setColor(index, 0x80FF4020u + uint32_t(index));
        }
    }

    std::vector<uint8_t> vertexBytes(gxMesh& mesh, int32_t count) {
        std::vector<uint8_t> bytes(size_t(count) * gxMesh::kVertexBytes);
        glBindBuffer(GL_ARRAY_BUFFER, mesh.vertexBuffer());
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(bytes.size()), bytes.data());
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        return bytes;
    }

    std::vector<uint16_t> indexValues(gxMesh& mesh, int32_t triangles) {
        std::vector<uint16_t> indices(size_t(triangles) * 3);
        glBindVertexArray(mesh.vertexArray());
        glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, GLsizeiptr(indices.size() * 2), indices.data());
        glBindVertexArray(0);
        return indices;
    }

    void expectUploaded(gxMesh& mesh) {
        std::vector<uint8_t> bytes = vertexBytes(mesh, surface_->vertexCount());
        for (int32_t i = 0; i < surface_->vertexCount(); ++i)
            EXPECT_EQ(std::memcmp(&bytes[size_t(i) * 44], &surface_->vertices()[size_t(i)], 44), 0) << i;
        EXPECT_EQ(surface_->uploadedVertices(), surface_->vertexCount());
        EXPECT_EQ(surface_->uploadedTriangles(), surface_->triangleCount());
    }

    MeshGeometry geometry_;
    MeshSurface* surface_ = nullptr;
};

TEST_F(MeshUpload, FirstUploadHasExactCapacitiesAndTheVertexLayout) {
    addVertices(3);
    surface_->addTriangle(0, 1, 2);
    gxMesh* mesh = surface_->driverMesh(*display_);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->vertexCapacity(), 3);
    EXPECT_EQ(mesh->triangleCapacity(), 1);
    expectUploaded(*mesh);
    EXPECT_EQ(indexValues(*mesh, 1), (std::vector<uint16_t>{0, 1, 2}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MeshUpload, UploadsOnlyAfterChangesAndGrowsByHalf) {
    addVertices(4);
    surface_->addTriangle(0, 1, 2);
    surface_->addTriangle(0, 2, 3);
    gxMesh* mesh = surface_->driverMesh(*display_);
    ASSERT_NE(mesh, nullptr);
    // Unchanged: the same driver mesh, not written again (a mark left in it survives).
    uint8_t mark[4] = {1, 2, 3, 4};
    glBindBuffer(GL_ARRAY_BUFFER, mesh->vertexBuffer());
    glBufferSubData(GL_ARRAY_BUFFER, 0, 4, mark);
    EXPECT_EQ(surface_->driverMesh(*display_), mesh);
    EXPECT_EQ(std::memcmp(vertexBytes(*mesh, 1).data(), mark, 4), 0);
    // A changed vertex within capacity: the same buffers, written again.
    surface_->setPosition(2, {9, 9, 9});
    EXPECT_EQ(surface_->driverMesh(*display_), mesh);
    expectUploaded(*mesh);
    // Growth: count + half the old capacity, for vertices and triangles separately.
    addVertices(1);
    gxMesh* grown = surface_->driverMesh(*display_);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(grown->vertexCapacity(), 5 + 2);
    EXPECT_EQ(grown->triangleCapacity(), 2 + 1);
    expectUploaded(*grown);
    EXPECT_EQ(indexValues(*grown, 2), (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
    addVertices(2);
    EXPECT_EQ(surface_->driverMesh(*display_)->vertexCapacity(), 7);
}

TEST_F(MeshUpload, ALostMeshIsRefilled) {
    addVertices(3);
    surface_->addTriangle(0, 1, 2);
    gxMesh* mesh = surface_->driverMesh(*display_);
    ASSERT_NE(mesh, nullptr);
    uint8_t zeros[44] = {};
    glBindBuffer(GL_ARRAY_BUFFER, mesh->vertexBuffer());
    glBufferSubData(GL_ARRAY_BUFFER, 0, 44, zeros);
    mesh->markLost();
    EXPECT_EQ(surface_->driverMesh(*display_), mesh);
    EXPECT_FALSE(mesh->lost());
    expectUploaded(*mesh);
}

TEST_F(MeshUpload, TrianglesNamingMissingVerticesBecomeDegenerate) {
    addVertices(3);
    surface_->addTriangle(0, 1, 2);
    surface_->addTriangle(1, 2, 3);
    surface_->addTriangle(-1, 0, 1);
    gxMesh* mesh = surface_->driverMesh(*display_);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(indexValues(*mesh, 3), (std::vector<uint16_t>{0, 1, 2, 0, 0, 0, 0, 0, 0}));
    // Once the vertex exists the triangle is drawn as given.
    addVertices(1);
    EXPECT_EQ(indexValues(*surface_->driverMesh(*display_), 2), (std::vector<uint16_t>{0, 1, 2, 1, 2, 3}));
}

}  // namespace
}  // namespace tarsk::test
