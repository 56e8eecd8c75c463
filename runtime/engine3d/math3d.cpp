#include "runtime/engine3d/math3d.h"

#include <cmath>

namespace tarsk::math3d {

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float length(Vec3 a) { return std::sqrt(dot(a, a)); }

Vec3 normalized(Vec3 a) {
    float l = length(a);
    return l > 0 ? a * (1 / l) : Vec3{};
}

Quat operator*(Quat a, Quat b) {
    Vec3 av{a.x, a.y, a.z}, bv{b.x, b.y, b.z};
    Vec3 v = bv * a.w + av * b.w + cross(av, bv);
    return {a.w * b.w - dot(av, bv), v.x, v.y, v.z};
}

Quat conjugate(Quat q) { return {q.w, -q.x, -q.y, -q.z}; }

Quat normalized(Quat q) {
    float l = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (!(l > 0)) return {};
    return {q.w / l, q.x / l, q.y / l, q.z / l};
}

Vec3 operator*(const Matrix3& m, Vec3 v) { return m.i * v.x + m.j * v.y + m.k * v.z; }

Matrix3 operator*(const Matrix3& a, const Matrix3& b) { return {a * b.i, a * b.j, a * b.k}; }

float determinant(const Matrix3& m) { return dot(m.i, cross(m.j, m.k)); }

Matrix3 cofactor(const Matrix3& m) { return {cross(m.j, m.k), cross(m.k, m.i), cross(m.i, m.j)}; }

Matrix3 inverse(const Matrix3& m) {
    float det = determinant(m);
    if (det == 0) return {Vec3{}, Vec3{}, Vec3{}};
    float s = 1 / det;
    // The rows of the inverse are the cofactor columns divided by the determinant.
    Vec3 r0 = cross(m.j, m.k) * s, r1 = cross(m.k, m.i) * s, r2 = cross(m.i, m.j) * s;
    return {{r0.x, r1.x, r2.x}, {r0.y, r1.y, r2.y}, {r0.z, r1.z, r2.z}};
}

Matrix3 rotationAxes(Quat q) {
    float w = q.w, x = q.x, y = q.y, z = q.z;
    return {{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
            {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
            {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}};
}

Quat quatFromAxes(const Matrix3& m) {
    const Vec3 &i = m.i, &j = m.j, &k = m.k;
    float trace = i.x + j.y + k.z;
    Quat q;
    if (trace > 1e-6f) {
        float s = std::sqrt(1 + trace) * 2;
        q = {s / 4, (k.y - j.z) / s, (i.z - k.x) / s, (j.x - i.y) / s};
    } else if (i.x > j.y && i.x > k.z) {
        float s = std::sqrt(1 + i.x - j.y - k.z) * 2;
        q = {(k.y - j.z) / s, s / 4, (i.y + j.x) / s, (i.z + k.x) / s};
    } else if (j.y > k.z) {
        float s = std::sqrt(1 + j.y - i.x - k.z) * 2;
        q = {(i.z - k.x) / s, (i.y + j.x) / s, s / 4, (j.z + k.y) / s};
    } else {
        float s = std::sqrt(1 + k.z - i.x - j.y) * 2;
        q = {(j.x - i.y) / s, (i.z + k.x) / s, (j.z + k.y) / s, s / 4};
    }
    return normalized(q);
}

Vec3 applyPoint(const Transform& a, Vec3 p) { return a.m * p + a.t; }

Transform compose(const Transform& a, const Transform& b) { return {a.m * b.m, a.m * b.t + a.t}; }

Transform inverse(const Transform& a) {
    Matrix3 m = inverse(a.m);
    return {m, (m * a.t) * -1};
}

Decomposition decompose(const Transform& a) {
    Decomposition d;
    d.position = a.t;
    d.scale = {length(a.m.i), length(a.m.j), length(a.m.k)};
    Vec3 k = normalized(a.m.k);
    Vec3 i = normalized(cross(a.m.j, k));
    // Linearly dependent axes leave no rotation to recover.
    d.rotation = (length(k) > 0 && length(i) > 0) ? quatFromAxes({i, cross(k, i), k}) : Quat{};
    return d;
}

Quat eulerToQuat(float pitch, float yaw, float roll) {
    Quat qr{std::cos(-roll / 2), 0, 0, std::sin(-roll / 2)};
    Quat qp{std::cos(-pitch / 2), std::sin(-pitch / 2), 0, 0};
    Quat qy{std::cos(yaw / 2), 0, std::sin(yaw / 2), 0};
    return qr * qp * qy;
}

float vectorPitch(Vec3 v) { return -std::atan2(v.y, std::sqrt(v.x * v.x + v.z * v.z)); }
float vectorYaw(Vec3 v) { return -std::atan2(v.x, v.z); }

Euler quatToEuler(Quat q) {
    Matrix3 m = rotationAxes(q);
    return {vectorPitch(m.k), vectorYaw(m.k), std::atan2(m.i.y, m.j.y)};
}

float degrees(float radians) {
    constexpr float kRadiansToDegrees = 1 / kDegreesToRadians;
    return radians * kRadiansToDegrees;
}

float radians(float degrees) { return degrees * kDegreesToRadians; }

}  // namespace tarsk::math3d
