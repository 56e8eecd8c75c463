#include "runtime/graphics/gx_mesh.h"

#include <algorithm>

#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gl_device.h"

namespace tarsk {
namespace {

void vertexAttribute(GLuint location, GLint size, GLenum type, GLboolean normalized, std::size_t offset) {
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, size, type, normalized, static_cast<GLsizei>(gxMesh::kVertexBytes),
                          reinterpret_cast<const void*>(offset));
}

}  // namespace

gxMesh::gxMesh(gxDisplay& display, GlDevice& device, int32_t vertexCapacity, int32_t triangleCapacity)
    : display_(display),
      device_(device),
      vertexCapacity_(std::max(vertexCapacity, 1)),
      triangleCapacity_(std::max(triangleCapacity, 1)),
      indices_(static_cast<std::size_t>(triangleCapacity_) * 3) {
    device_.makeCurrent();
    glGenVertexArrays(1, &vertexArray_);
    glGenBuffers(1, &vertexBuffer_);
    glGenBuffers(1, &indexBuffer_);
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCapacity_ * kVertexBytes), nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(triangleCapacity_ * kTriangleBytes), nullptr,
                 GL_DYNAMIC_DRAW);
    vertexAttribute(kPosition, 3, GL_FLOAT, GL_FALSE, 0);
    vertexAttribute(kNormal, 3, GL_FLOAT, GL_FALSE, 12);
    // The packed ARGB word is the bytes B, G, R, A in memory.
    vertexAttribute(kColour, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 24);
    vertexAttribute(kCoords0, 2, GL_FLOAT, GL_FALSE, 28);
    vertexAttribute(kCoords1, 2, GL_FLOAT, GL_FALSE, 36);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

gxMesh::~gxMesh() {
    device_.makeCurrent();
    glDeleteVertexArrays(1, &vertexArray_);
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteBuffers(1, &indexBuffer_);
}

gxMesh::Locked gxMesh::lock() {
    device_.makeCurrent();
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    void* mapped = glMapBufferRange(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(vertexCapacity_ * kVertexBytes),
                                    GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT);
    if (!mapped) lost_ = true;
    return {static_cast<uint8_t*>(mapped), indices_.data()};
}

void gxMesh::unlock(int32_t triangleCount) {
    device_.makeCurrent();
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    // A buffer whose contents were lost while mapped must be written again.
    bool kept = glUnmapBuffer(GL_ARRAY_BUFFER) == GL_TRUE;
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    triangleCount = std::clamp(triangleCount, 0, triangleCapacity_);
    // The element buffer belongs to the vertex array's state.
    glBindVertexArray(vertexArray_);
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(triangleCount * kTriangleBytes),
                    indices_.data());
    glBindVertexArray(0);
    lost_ = !kept;
}

}  // namespace tarsk
