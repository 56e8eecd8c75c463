#include "runtime/engine3d/swept_sphere.h"

#include <cmath>

namespace tarsk {

using namespace math3d;

namespace {

// The edge a to b as a cylinder of the line's radius: the touch before a is the
// sphere around a; a touch beyond b is left to the edge that starts at b.
bool sweepEdge(const SweptSphere& line, Vec3 a, Vec3 b, CollisionRecord& record) {
    Vec3 edge = b - a;
    float edgeLength = length(edge);
    if (edgeLength == 0) return false;
    Vec3 axis = edge * (1 / edgeLength);
    Vec3 start = line.origin - a;
    // The motion across the edge: start and direction without their parts along it.
    Vec3 across = start - axis * dot(start, axis);
    Vec3 motion = line.direction - axis * dot(line.direction, axis);
    float aa = dot(motion, motion);
    if (aa == 0) return false;
    float bb = 2 * dot(across, motion);
    float cc = dot(across, across) - line.radius * line.radius;
    float discriminant = bb * bb - 4 * aa * cc;
    if (discriminant < 0) return false;
    float t = (-bb - std::sqrt(discriminant)) / (2 * aa);
    if (t > record.time) return false;
    float along = dot(start + line.direction * t, axis);
    if (along < 0) return sweepSphere(line, a, 0, record);
    if (along > edgeLength) return false;
    return acceptContact(line, t, normalized(across + motion * t), record);
}

// On the inner side of the plane through a and b perpendicular to the triangle (normal
// n), or within slack of it.
bool insideEdge(Vec3 a, Vec3 b, Vec3 p, Vec3 n, float slack) {
    Vec3 edge = b - a;
    return dot(cross(edge, p - a), n) >= -slack * length(edge);
}

}  // namespace

bool acceptContact(const SweptSphere& line, float t, Vec3 n, CollisionRecord& record) {
    float approach = dot(n, line.direction);
    if (!(t <= record.time && approach < 0 && -t * approach >= -0.001f)) return false;
    record.time = t;
    record.normal = n;
    return true;
}

bool sweepSphere(const SweptSphere& line, Vec3 centre, float sphereRadius, CollisionRecord& record) {
    Vec3 fromCentre = line.origin - centre;
    float dd = dot(line.direction, line.direction);
    if (dd == 0) return false;
    float w = 2 * dot(line.direction, fromCentre);
    float reach = line.radius + sphereRadius;
    float discriminant = w * w - 4 * dd * (dot(fromCentre, fromCentre) - reach * reach);
    if (discriminant < 0) return false;
    float t = (-w - std::sqrt(discriminant)) / (2 * dd);
    if (t > record.time) return false;
    return acceptContact(line, t, normalized(fromCentre + line.direction * t), record);
}

bool sweepTriangle(const SweptSphere& line, Vec3 v0, Vec3 v1, Vec3 v2, CollisionRecord& record) {
    Vec3 n = normalized(cross(v1 - v0, v2 - v0));
    float approach = dot(n, line.direction);
    if (!(approach < 0)) return false;  // along or away from the front, or degenerate
    float t = -(dot(n, line.origin) - dot(n, v0) - line.radius) / approach;
    if (t > record.time) return false;
    Vec3 centre = line.origin + line.direction * t;
    // The centre and the edge tests carry rounding errors of the size of the line's
    // coordinates; edges count that much wider so that a line through an edge two
    // triangles share never slips between them.
    float slack = 1e-6f * (length(line.origin) + length(line.direction) + length(centre - v0));
    bool inside = insideEdge(v0, v1, centre, n, slack) && insideEdge(v1, v2, centre, n, slack) &&
                  insideEdge(v2, v0, centre, n, slack);
    if (inside) return acceptContact(line, t, n, record);
    if (line.radius <= 0) return false;
    bool hit = sweepEdge(line, v0, v1, record);
    hit |= sweepEdge(line, v1, v2, record);
    hit |= sweepEdge(line, v2, v0, record);
    return hit;
}

bool sweepBox(const SweptSphere& line, const Transform& boxToWorld, Vec3 min, Vec3 max, CollisionRecord& record) {
    Transform toBox = inverse(boxToWorld);
    SweptSphere local{applyPoint(toBox, line.origin), toBox.m * line.direction, line.radius};
    CollisionRecord best = record;
    const float o[3] = {local.origin.x, local.origin.y, local.origin.z};
    const float d[3] = {local.direction.x, local.direction.y, local.direction.z};
    const float lo[3] = {min.x, min.y, min.z}, hi[3] = {max.x, max.y, max.z};
    auto point = [](int axis, float value, int other1, float v1, int other2, float v2) {
        float c[3];
        c[axis] = value;
        c[other1] = v1;
        c[other2] = v2;
        return Vec3{c[0], c[1], c[2]};
    };
    bool hit = false;
    for (int face = 0; face < 6; ++face) {
        int axis = face / 2, u = (axis + 1) % 3, v = (axis + 2) % 3;
        bool maxSide = face % 2;
        float outward = maxSide ? 1.0f : -1.0f;
        float plane = maxSide ? hi[axis] : lo[axis];
        float approach = outward * d[axis];
        if (!(approach < 0)) continue;
        float t = (local.radius - outward * (o[axis] - plane)) / approach;
        if (t > best.time) break;  // entering later than the best contact: the box cannot be nearer
        float cu = o[u] + d[u] * t, cv = o[v] + d[v] * t;
        if (cu >= lo[u] && cu <= hi[u] && cv >= lo[v] && cv <= hi[v]) {
            hit |= acceptContact(local, t, point(axis, outward, u, 0, v, 0), best);
        } else if (local.radius > 0) {
            Vec3 corners[4] = {point(axis, plane, u, lo[u], v, lo[v]), point(axis, plane, u, hi[u], v, lo[v]),
                               point(axis, plane, u, hi[u], v, hi[v]), point(axis, plane, u, lo[u], v, hi[v])};
            for (int c = 0; c < 4; ++c) hit |= sweepEdge(local, corners[c], corners[(c + 1) % 4], best);
        }
    }
    if (hit) {
        record.time = best.time;
        record.normal = boxToWorld.m * best.normal;
    }
    return hit;
}

Transform unscaledFrame(const Transform& world) {
    Transform frame = world;
    frame.m.i = normalized(world.m.i);
    frame.m.j = normalized(world.m.j);
    frame.m.k = normalized(world.m.k);
    return frame;
}

}  // namespace tarsk
