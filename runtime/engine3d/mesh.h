// Mesh geometry (the surfaces, change counters and cached boxes shared by a Mesh and
// every CopyEntity copy of it) and the Mesh entity class.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/engine3d/brush.h"
#include "runtime/engine3d/math3d.h"
#include "runtime/engine3d/object_entity.h"
#include "runtime/engine3d/surface.h"

namespace tarsk {

inline constexpr float kEmptyBoxExtent = 10000000.0f;

// An axis-aligned box; empty when a minimum exceeds its maximum.
struct Box3 {
    math3d::Vec3 min{kEmptyBoxExtent, kEmptyBoxExtent, kEmptyBoxExtent};
    math3d::Vec3 max{-kEmptyBoxExtent, -kEmptyBoxExtent, -kEmptyBoxExtent};

    bool empty() const { return min.x > max.x || min.y > max.y || min.z > max.z; }
    void include(math3d::Vec3 p);
};

class CollisionTree;
// Frees a collision tree where its type is complete.
struct CollisionTreeDeleter {
    void operator()(CollisionTree* tree) const;
};

class MeshGeometry {
public:
    MeshGeometry() = default;
    // Destroys the surfaces.
    ~MeshGeometry();
    MeshGeometry(const MeshGeometry&) = delete;
    MeshGeometry& operator=(const MeshGeometry&) = delete;

    // In creation order.
    const std::vector<MeshSurface*>& surfaces() const { return surfaces_; }
    // Appends an empty surface painted with brush; counts a brush change.
    MeshSurface* createSurface(const Brush& brush);
    // The first surface whose brush equals brush, or nullptr.
    MeshSurface* findSurface(const Brush& brush) const;

    // Brush changes: CreateSurface, PaintSurface, PaintMesh.
    uint64_t brushChanges() const { return brushChanges_; }
    // Vertices and triangles added, moved or removed, one per element touched.
    uint64_t geometryChanges() const { return geometryChanges_; }
    void countBrushChange() { ++brushChanges_; }
    void countGeometryChanges(uint64_t touched) { geometryChanges_ += touched; }

    // All vertex positions of all surfaces, recomputed when the geometry changed.
    const Box3& bounds();
    // The box visibility tests use: the cull box, or the bounds while it is empty.
    const Box3& visibilityBox() { return cullBox.empty() ? bounds() : cullBox; }
    Box3 cullBox;

    // The collision tree of the current geometry, built on first use after a change.
    const CollisionTree& collisionTree();

    // The geometry counter at the last UpdateNormals (-1 before the first).
    int64_t normalsUpdatedAt = -1;
    // Mesh entities sharing this geometry; the last one destroys it.
    int32_t users = 1;

private:
    std::vector<MeshSurface*> surfaces_;
    uint64_t brushChanges_ = 0, geometryChanges_ = 0;
    Box3 bounds_;
    uint64_t boundsAt_ = ~uint64_t(0);
    std::unique_ptr<CollisionTree, CollisionTreeDeleter> collisionTree_;
    uint64_t collisionTreeAt_ = 0;  // the geometry counter it was built at
};

class Mesh final : public Model {
public:
    // A mesh with new, empty geometry.
    explicit Mesh(World& world);
    // Releases its use of the geometry.
    ~Mesh() override;
    // A copy sharing the geometry.
    Entity* clone() const override;
    Mesh* asMesh() override { return this; }
    // Through the geometry's collision tree.
    bool collide(const SweptSphere& line, const math3d::Transform& placement, CollisionRecord& record) override;

    MeshGeometry& geometry() const { return *geometry_; }
    // One brush per surface: the surface's brush combined with renderBrush, rebuilt when
    // a surface brush or the render brush changed since the last call.
    const std::vector<Brush>& surfaceBrushes(const Brush& renderBrush);

private:
    Mesh(const Mesh& source, World& world);

    MeshGeometry* geometry_;
    uint64_t combinedAt_ = ~uint64_t(0);  // the geometry's brush counter when combined
    Brush combinedWith_;                  // the render brush they were combined with
    std::vector<Brush> combined_;
};

}  // namespace tarsk
