// The checks of the mesh, surface and brush commands. Each is always made where a bad
// value would touch freed memory or index outside an array.
#pragma once

#include <cstdint>

#include "runtime/engine3d/mesh.h"
#include "runtime/engine3d/world.h"
#include "runtime/host/runtime_error.h"

namespace tarsk {

inline Model& liveModel(int32_t handle) {
    Model* model = liveEntity(handle)->asModel();
    if (!model) runtimeError("Entity is not a model");
    return *model;
}

inline Mesh& liveMesh(int32_t handle) {
    Model* model = liveEntity(handle)->asModel();
    Mesh* mesh = model ? model->asMesh() : nullptr;
    if (!mesh) runtimeError("Entity is not a mesh");
    return *mesh;
}

inline int32_t checkedSlot(int32_t index) {
    if (index < 0 || index >= kBrushSlots) runtimeError("Texture index out of range");
    return index;
}

inline int32_t checkedVertex(const MeshSurface& surface, int32_t index) {
    if (!surface.hasVertex(index)) runtimeError("Vertex index out of range");
    return index;
}

inline int32_t checkedCoordinateSet(int32_t set) {
    if (set != 0 && set != 1) runtimeError("Texture coordinate set out of range");
    return set;
}

}  // namespace tarsk
