// Whole-mesh edits: transforms, flipping, merging, smooth normals and baked lighting.
#pragma once

#include "runtime/engine3d/math3d.h"
#include "runtime/engine3d/mesh.h"

namespace tarsk {

// Positions p := m·p + t, normals n := cofactor(m)·n (not renormalized).
void transformMesh(MeshGeometry& geometry, const math3d::Matrix3& m, math3d::Vec3 t);
// Scales and moves the geometry so that its bounds fill target; uniform takes the
// smallest factor on every axis.
void fitMesh(MeshGeometry& geometry, const Box3& target, bool uniform);
// Negates the normals and reverses the winding of every triangle.
void flipMesh(MeshGeometry& geometry);
// Appends source to dest, into the first dest surface with an equal brush or a new one;
// source and dest must differ.
void addMesh(const MeshGeometry& source, MeshGeometry& dest);
// Smooth normals per surface from the face normals around each exact position; nothing
// when the geometry is unchanged since the last call.
void updateNormals(MeshGeometry& geometry);
// Adds light of colour (0 to 1 per channel) to the vertex colours; range 0 lights every
// vertex fully, otherwise by distance and angle from position (mesh space).
void lightMesh(MeshGeometry& geometry, math3d::Vec3 colour, float range, math3d::Vec3 position);

}  // namespace tarsk
