// mocap_math.h - the little vector and rotation algebra the retargeting needs,
// in double precision (a recording's centimetres and the figure's angles both
// survive it). GL-free.
#pragma once

#include <cmath>

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }

// Column-major like the figure's matrices: c[0], c[1], c[2] are the images
// of the x, y and z axes.
struct Mat3 {
    Vec3 c[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

inline Vec3 operator*(const Mat3& m, Vec3 v) { return v.x * m.c[0] + v.y * m.c[1] + v.z * m.c[2]; }
inline Mat3 operator*(const Mat3& a, const Mat3& b) {
    Mat3 r;
    for (int i = 0; i < 3; i++) r.c[i] = a * b.c[i];
    return r;
}
inline Mat3 transpose(const Mat3& m) {
    Mat3 r;
    r.c[0] = {m.c[0].x, m.c[1].x, m.c[2].x};
    r.c[1] = {m.c[0].y, m.c[1].y, m.c[2].y};
    r.c[2] = {m.c[0].z, m.c[1].z, m.c[2].z};
    return r;
}

constexpr double kDegrees = 57.29577951308232;

// A right-handed turn by `degrees` about axis 0 (x), 1 (y) or 2 (z), as glRotatef.
inline Mat3 axisRotation(int axis, double degrees) {
    const double a = degrees / kDegrees, c = std::cos(a), s = std::sin(a);
    Mat3 m;
    if (axis == 0) { m.c[1] = {0, c, s}; m.c[2] = {0, -s, c}; }
    if (axis == 1) { m.c[0] = {c, 0, -s}; m.c[2] = {s, 0, c}; }
    if (axis == 2) { m.c[0] = {c, s, 0}; m.c[1] = {-s, c, 0}; }
    return m;
}
