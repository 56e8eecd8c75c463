// Surfaces and their vertices and triangles: building, painting, editing and reading.
#include <cmath>

#include "runtime/engine3d/brush_registry.h"
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/mesh_handles.h"

using tarsk::checkedVertex;
using tarsk::debugChecks;
using tarsk::liveSurface;
using tarsk::MeshSurface;
using tarsk::Vertex;

namespace {

// 0 to 255, truncated toward zero; anything not >= 0 (NaN included) is 0.
uint32_t colourByte(float value) {
    if (!(value >= 0)) return 0;
    return value >= 255 ? 255u : static_cast<uint32_t>(value);
}

// The vertex a reading command names: scene (debug checks) and index checked.
const Vertex& readVertex(int32_t surface, int32_t index) {
    if (debugChecks) tarsk::requireWorld();
    MeshSurface* s = liveSurface(surface);
    return s->vertices()[size_t(checkedVertex(*s, index))];
}

float coordinate(int32_t surface, int32_t index, int32_t set, int axis) {
    const Vertex& v = readVertex(surface, index);
    return v.coords[tarsk::checkedCoordinateSet(set)][axis];
}

float colourChannel(int32_t surface, int32_t index, int shift) {
    return float((readVertex(surface, index).color >> shift) & 0xFFu);
}

}  // namespace

extern "C" {

void _fclearsurface(int32_t surface, int32_t clearVertices, int32_t clearTriangles) {
    liveSurface(surface)->clear(clearVertices != 0, clearTriangles != 0);
}

void _fpaintsurface(int32_t surface, int32_t brush) {
    MeshSurface* s = liveSurface(surface);
    s->setBrush(tarsk::checkedBrush(brush)->brush);
}

int32_t _faddvertex(int32_t surface, float x, float y, float z, float u, float v, float) {
    return liveSurface(surface)->addVertex({x, y, z}, u, v);
}

int32_t _faddtriangle(int32_t surface, int32_t v0, int32_t v1, int32_t v2) {
    return liveSurface(surface)->addTriangle(v0, v1, v2);
}

void _fvertexcoords(int32_t surface, int32_t index, float x, float y, float z) {
    MeshSurface* s = liveSurface(surface);
    s->setPosition(checkedVertex(*s, index), {x, y, z});
}

void _fvertexnormal(int32_t surface, int32_t index, float nx, float ny, float nz) {
    MeshSurface* s = liveSurface(surface);
    s->setNormal(checkedVertex(*s, index), {nx, ny, nz});
}

void _fvertexcolor(int32_t surface, int32_t index, float red, float green, float blue, float alpha) {
    MeshSurface* s = liveSurface(surface);
    uint32_t argb = colourByte(alpha * 255) << 24 | colourByte(red) << 16 | colourByte(green) << 8 | colourByte(blue);
    s->setColor(checkedVertex(*s, index), argb);
}

void _fvertextexcoords(int32_t surface, int32_t index, float u, float v, float, int32_t set) {
    MeshSurface* s = liveSurface(surface);
    s->setTexCoords(checkedVertex(*s, index), tarsk::checkedCoordinateSet(set), u, v);
}

int32_t _fcountvertices(int32_t surface) { return liveSurface(surface)->vertexCount(); }
int32_t _fcounttriangles(int32_t surface) { return liveSurface(surface)->triangleCount(); }

float _fvertexx(int32_t surface, int32_t index) { return readVertex(surface, index).position.x; }
float _fvertexy(int32_t surface, int32_t index) { return readVertex(surface, index).position.y; }
float _fvertexz(int32_t surface, int32_t index) { return readVertex(surface, index).position.z; }
float _fvertexnx(int32_t surface, int32_t index) { return readVertex(surface, index).normal.x; }
float _fvertexny(int32_t surface, int32_t index) { return readVertex(surface, index).normal.y; }
float _fvertexnz(int32_t surface, int32_t index) { return readVertex(surface, index).normal.z; }
float _fvertexred(int32_t surface, int32_t index) { return colourChannel(surface, index, 16); }
float _fvertexgreen(int32_t surface, int32_t index) { return colourChannel(surface, index, 8); }
float _fvertexblue(int32_t surface, int32_t index) { return colourChannel(surface, index, 0); }
float _fvertexalpha(int32_t surface, int32_t index) { return colourChannel(surface, index, 24) / 255.0f; }
float _fvertexu(int32_t surface, int32_t index, int32_t set) { return coordinate(surface, index, set, 0); }
float _fvertexv(int32_t surface, int32_t index, int32_t set) { return coordinate(surface, index, set, 1); }

float _fvertexw(int32_t surface, int32_t index, int32_t set) {
    coordinate(surface, index, set, 0);
    return 1;
}

int32_t _ftrianglevertex(int32_t surface, int32_t index, int32_t vertex) {
    MeshSurface* s = liveSurface(surface);
    if (index < 0 || index >= s->triangleCount()) tarsk::runtimeError("Triangle index out of range");
    if (vertex < 0 || vertex > 2) tarsk::runtimeError("Vertex index out of range");
    return s->triangles()[size_t(index)].v[vertex];
}

}  // extern "C"

namespace tarsk {

void registerSurfaceCommands(Registrar add) {
    add("ClearSurface%surface%clear_vertices=1%clear_triangles=1", reinterpret_cast<const void*>(_fclearsurface));
    add("PaintSurface%surface%brush", reinterpret_cast<const void*>(_fpaintsurface));
    add("%AddVertex%surface#x#y#z#u=0#v=0#w=1", reinterpret_cast<const void*>(_faddvertex));
    add("%AddTriangle%surface%v0%v1%v2", reinterpret_cast<const void*>(_faddtriangle));
    add("VertexCoords%surface%index#x#y#z", reinterpret_cast<const void*>(_fvertexcoords));
    add("VertexNormal%surface%index#nx#ny#nz", reinterpret_cast<const void*>(_fvertexnormal));
    add("VertexColor%surface%index#red#green#blue#alpha=1", reinterpret_cast<const void*>(_fvertexcolor));
    add("VertexTexCoords%surface%index#u#v#w=1%coord_set=0", reinterpret_cast<const void*>(_fvertextexcoords));
    add("%CountVertices%surface", reinterpret_cast<const void*>(_fcountvertices));
    add("%CountTriangles%surface", reinterpret_cast<const void*>(_fcounttriangles));
    add("#VertexX%surface%index", reinterpret_cast<const void*>(_fvertexx));
    add("#VertexY%surface%index", reinterpret_cast<const void*>(_fvertexy));
    add("#VertexZ%surface%index", reinterpret_cast<const void*>(_fvertexz));
    add("#VertexNX%surface%index", reinterpret_cast<const void*>(_fvertexnx));
    add("#VertexNY%surface%index", reinterpret_cast<const void*>(_fvertexny));
    add("#VertexNZ%surface%index", reinterpret_cast<const void*>(_fvertexnz));
    add("#VertexRed%surface%index", reinterpret_cast<const void*>(_fvertexred));
    add("#VertexGreen%surface%index", reinterpret_cast<const void*>(_fvertexgreen));
    add("#VertexBlue%surface%index", reinterpret_cast<const void*>(_fvertexblue));
    add("#VertexAlpha%surface%index", reinterpret_cast<const void*>(_fvertexalpha));
    add("#VertexU%surface%index%coord_set=0", reinterpret_cast<const void*>(_fvertexu));
    add("#VertexV%surface%index%coord_set=0", reinterpret_cast<const void*>(_fvertexv));
    add("#VertexW%surface%index%coord_set=0", reinterpret_cast<const void*>(_fvertexw));
    add("%TriangleVertex%surface%index%vertex", reinterpret_cast<const void*>(_ftrianglevertex));
}

}  // namespace tarsk
