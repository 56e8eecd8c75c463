// gxMesh: a driver mesh, the GL vertex and index buffers one mesh surface draws from.
// Vertices are 44 bytes (position, normal, ARGB colour, two texture coordinate pairs);
// triangles are three 16-bit indices, also kept in system memory. Made and freed by
// gxDisplay (makeDriverMesh, dropDriverMesh).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarsk {

class GlDevice;
class gxDisplay;

class gxMesh {
public:
    static constexpr std::size_t kVertexBytes = 44;
    static constexpr std::size_t kTriangleBytes = 6;
    // Vertex attribute locations of the vertex array.
    enum Attribute : uint32_t { kPosition = 0, kNormal = 1, kColour = 2, kCoords0 = 3, kCoords1 = 4 };

    // Capacities of at least 1 are made; the GL device must stay current-able.
    gxMesh(gxDisplay& display, GlDevice& device, int32_t vertexCapacity, int32_t triangleCapacity);
    ~gxMesh();
    gxMesh(const gxMesh&) = delete;
    gxMesh& operator=(const gxMesh&) = delete;

    gxDisplay& display() const { return display_; }
    int32_t vertexCapacity() const { return vertexCapacity_; }
    int32_t triangleCapacity() const { return triangleCapacity_; }

    // Set when the driver dropped the contents; the owner uploads again, which clears it.
    bool lost() const { return lost_; }
    void markLost() { lost_ = true; }

    // Write access to the whole capacity: kVertexBytes per vertex (the mapped vertex
    // buffer; nullptr when it cannot be mapped, and then the mesh counts as lost) and
    // three indices per triangle. unlock sends the first triangleCount triangles.
    struct Locked {
        uint8_t* vertices;
        uint16_t* indices;
    };
    Locked lock();
    void unlock(int32_t triangleCount);

    // A vertex array with the attributes above (colour as normalized BGRA bytes) and the
    // index buffer bound.
    uint32_t vertexArray() const { return vertexArray_; }
    uint32_t vertexBuffer() const { return vertexBuffer_; }
    uint32_t indexBuffer() const { return indexBuffer_; }
    // The system-memory copy of the indices.
    const uint16_t* indices() const { return indices_.data(); }

private:
    gxDisplay& display_;
    GlDevice& device_;
    int32_t vertexCapacity_, triangleCapacity_;
    bool lost_ = false;
    std::vector<uint16_t> indices_;
    uint32_t vertexArray_ = 0, vertexBuffer_ = 0, indexBuffer_ = 0;
};

}  // namespace tarsk
