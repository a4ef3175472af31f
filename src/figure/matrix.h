// matrix.h - the 4 x 4 matrices of the figure code: column-major, as GL
// keeps them, so a matrix here can be handed to glMultMatrixf as it is.
//
// Float for what is drawn (it must match what GL forms), double for the ray
// tests of picking. The rotations are glRotatef's about a main axis, the
// translation and scale glTranslatef's and glScalef's, each applied on the
// right as GL applies them. GL-free, header only.
#pragma once

#include <cmath>

template <typename T>
struct Mat4T {
    T m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    template <typename U>
    static Mat4T from(const U a[16]) {
        Mat4T r;
        for (int i = 0; i < 16; i++) r.m[i] = static_cast<T>(a[i]);
        return r;
    }
};

using Mat4 = Mat4T<float>;
using Mat4d = Mat4T<double>;

// a x b.
template <typename T>
Mat4T<T> operator*(const Mat4T<T>& a, const Mat4T<T>& b) {
    Mat4T<T> c;
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++) {
            T s = 0;
            for (int k = 0; k < 4; k++) s += a.m[k * 4 + row] * b.m[col * 4 + k];
            c.m[col * 4 + row] = s;
        }
    return c;
}

// a times the identity with x, y, z put at m[first], m[first + step] and
// m[first + 2 step]: a translation (12, 1) or a scale (0, 5).
template <typename T>
Mat4T<T> timesIdentityWith(const Mat4T<T>& a, int first, int step, T x, T y, T z) {
    Mat4T<T> b;
    b.m[first] = x;
    b.m[first + step] = y;
    b.m[first + 2 * step] = z;
    return a * b;
}

template <typename T>
Mat4T<T> translated(const Mat4T<T>& a, T x, T y, T z) { return timesIdentityWith(a, 12, 1, x, y, z); }

template <typename T>
Mat4T<T> scaled(const Mat4T<T>& a, T x, T y, T z) { return timesIdentityWith(a, 0, 5, x, y, z); }

// Turned by `degrees` about main axis 0 (x), 1 (y) or 2 (z), as glRotatef;
// quarter turns are exact, so a part's round shapes lie exactly on its axis.
template <typename T>
Mat4T<T> rotated(const Mat4T<T>& a, T degrees, int axis) {
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;  // u -> v is the positive turn
    T c, s;
    const double quarters = degrees / 90.0;
    if (quarters == std::floor(quarters)) {
        static const T kCos[4] = {1, 0, -1, 0}, kSin[4] = {0, 1, 0, -1};
        const int q = static_cast<int>(((static_cast<long>(quarters) % 4) + 4) % 4);
        c = kCos[q];
        s = kSin[q];
    } else {
        const double rad = degrees * 3.14159265358979323846 / 180.0;
        c = static_cast<T>(std::cos(rad));
        s = static_cast<T>(std::sin(rad));
    }
    Mat4T<T> r;
    r.m[u * 4 + u] = c;
    r.m[u * 4 + v] = s;
    r.m[v * 4 + u] = -s;
    r.m[v * 4 + v] = c;
    return a * r;
}

// Inverse of an affine matrix; false when it is singular (a shape of size 0).
template <typename T>
bool invertAffine(const Mat4T<T>& a, Mat4T<T>& inv) {
    const T* m = a.m;
    const T c00 = m[5] * m[10] - m[9] * m[6];
    const T c01 = m[8] * m[6] - m[4] * m[10];
    const T c02 = m[4] * m[9] - m[8] * m[5];
    const T det = m[0] * c00 + m[1] * c01 + m[2] * c02;
    if (!(std::fabs(det) >= static_cast<T>(1e-18))) return false;
    const T d = 1 / det;
    T* r = inv.m;
    r[0] = c00 * d;
    r[4] = c01 * d;
    r[8] = c02 * d;
    r[1] = (m[9] * m[2] - m[1] * m[10]) * d;
    r[5] = (m[0] * m[10] - m[8] * m[2]) * d;
    r[9] = (m[8] * m[1] - m[0] * m[9]) * d;
    r[2] = (m[1] * m[6] - m[5] * m[2]) * d;
    r[6] = (m[4] * m[2] - m[0] * m[6]) * d;
    r[10] = (m[0] * m[5] - m[4] * m[1]) * d;
    r[3] = r[7] = r[11] = 0;
    r[15] = 1;
    for (int row = 0; row < 3; row++) r[12 + row] = -(r[row] * m[12] + r[4 + row] * m[13] + r[8 + row] * m[14]);
    return true;
}

// a p for a point (w = 1) or, with `w` 0, a direction.
template <typename T>
void transform(const Mat4T<T>& a, const T p[3], T out[3], T w = 1) {
    for (int row = 0; row < 3; row++)
        out[row] = a.m[row] * p[0] + a.m[4 + row] * p[1] + a.m[8 + row] * p[2] + a.m[12 + row] * w;
}
