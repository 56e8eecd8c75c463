#include "runtime/engine3d/mesh.h"

#include <algorithm>

namespace tarsk {

void Box3::include(math3d::Vec3 p) {
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

MeshGeometry::~MeshGeometry() {
    for (MeshSurface* surface : surfaces_) delete surface;
}

MeshSurface* MeshGeometry::createSurface(const Brush& brush) {
    surfaces_.push_back(new MeshSurface(*this, brush));
    countBrushChange();
    return surfaces_.back();
}

MeshSurface* MeshGeometry::findSurface(const Brush& brush) const {
    for (MeshSurface* surface : surfaces_)
        if (surface->brush() == brush) return surface;
    return nullptr;
}

const Box3& MeshGeometry::bounds() {
    if (boundsAt_ != geometryChanges_) {
        bounds_ = Box3();
        for (const MeshSurface* surface : surfaces_)
            for (const Vertex& vertex : surface->vertices()) bounds_.include(vertex.position);
        boundsAt_ = geometryChanges_;
    }
    return bounds_;
}

Mesh::Mesh(World& world) : Model(world), geometry_(new MeshGeometry) {}

Mesh::Mesh(const Mesh& source, World& world) : Model(source, world), geometry_(source.geometry_) {
    ++geometry_->users;
}

Mesh::~Mesh() {
    if (--geometry_->users == 0) delete geometry_;
}

Entity* Mesh::clone() const { return new Mesh(*this, world()); }

const std::vector<Brush>& Mesh::surfaceBrushes(const Brush& renderBrush) {
    // A changed render brush no longer shares the representation it was combined with.
    if (combinedAt_ != geometry_->brushChanges() || !combinedWith_.sharesRepresentation(renderBrush)) {
        combined_.clear();
        for (const MeshSurface* surface : geometry_->surfaces())
            combined_.push_back(Brush::combine(surface->brush(), renderBrush));
        combinedAt_ = geometry_->brushChanges();
        combinedWith_ = renderBrush;
    }
    return combined_;
}

}  // namespace tarsk
