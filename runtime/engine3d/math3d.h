// Single-precision 3D math: vectors, rotation quaternions, 3x3 axis matrices and
// affine transforms, with the engine's Euler-angle convention (left-handed, degrees
// at the command boundary). Compiled without contraction into fused multiply-add so
// results do not depend on the compiler.
#pragma once

namespace tarsk::math3d {

inline constexpr float kPi = 3.1415927f;
inline constexpr float kTwoPi = kPi + kPi;
inline constexpr float kDegreesToRadians = 0.017453292f;

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, float s);
float dot(Vec3 a, Vec3 b);
Vec3 cross(Vec3 a, Vec3 b);
float length(Vec3 a);
// The unit vector along a, or (0, 0, 0) for a zero vector.
Vec3 normalized(Vec3 a);

// Rotation quaternion (w, x, y, z).
struct Quat {
    float w = 1, x = 0, y = 0, z = 0;
};

// Hamilton product; the rotation a acts first, then b.
Quat operator*(Quat a, Quat b);
Quat conjugate(Quat q);
// Divides by the length; a zero quaternion becomes the identity.
Quat normalized(Quat q);

// Linear part: the images i, j, k of the x, y and z unit vectors.
struct Matrix3 {
    Vec3 i{1, 0, 0}, j{0, 1, 0}, k{0, 0, 1};
};

Vec3 operator*(const Matrix3& m, Vec3 v);
Matrix3 operator*(const Matrix3& a, const Matrix3& b);
float determinant(const Matrix3& m);
// The inverse; a singular matrix gives the zero matrix.
Matrix3 inverse(const Matrix3& m);
// det(m) times the inverse transpose: maps normals, defined for singular m too.
Matrix3 cofactor(const Matrix3& m);

// The axes of a unit quaternion.
Matrix3 rotationAxes(Quat q);
// The unit quaternion whose axes are the orthonormal basis m (trace branch, or the
// branch of the largest diagonal element).
Quat quatFromAxes(const Matrix3& m);

struct Transform {
    Matrix3 m;
    Vec3 t;
};

Vec3 applyPoint(const Transform& a, Vec3 p);
// a after b: (a ∘ b)(p) = a(b(p)).
Transform compose(const Transform& a, const Transform& b);
Transform inverse(const Transform& a);

// Position, scale and rotation of a transform: scale = axis lengths, rotation from
// the basis k/|k|, (j × k̂)/|j × k̂|, k̂ × î.
struct Decomposition {
    Vec3 position, scale;
    Quat rotation;
};
Decomposition decompose(const Transform& a);

// Euler angles in radians: a point is rolled about z, then pitched about x, then
// yawed about y. Positive yaw turns +z towards -x, positive pitch turns +z towards -y.
Quat eulerToQuat(float pitch, float yaw, float roll);
struct Euler {
    float pitch, yaw, roll;
};
Euler quatToEuler(Quat q);
// Pitch and yaw of a direction, in radians.
float vectorPitch(Vec3 v);
float vectorYaw(Vec3 v);

float degrees(float radians);
float radians(float degrees);

}  // namespace tarsk::math3d
