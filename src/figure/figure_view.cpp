// figure_view.cpp - a figure's bounding sphere from its part matrices, and
// the view-volume and screen-size questions about it.
#include "figure/figure_view.h"

#include <algorithm>
#include <cmath>

#include "figure/person.h"

namespace {

// c = a x b, column-major.
void multiply(const float* a, const float* b, float* c) {
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++) {
            float v = 0;
            for (int k = 0; k < 4; k++) v += a[k * 4 + row] * b[col * 4 + k];
            c[col * 4 + row] = v;
        }
}

// How far a part's own shapes reach from its joint: the limb ellipsoid runs
// to 1.1 L along and 1.2 R across, the shoulder block 1.5 R across, the
// chest spheres 1.8 R forward; held items have fixed sizes, the longest
// (the sword, the tube gun) under 12.
float partReach(const Person& p, int i) {
    const BodyPart& b = p.part[i];
    float reach = 1.1f * std::fabs(b.length) + 2.5f * std::fabs(b.radius);
    const int item = i == LHI ? p.leftHandItem : i == RHI ? p.rightHandItem : ITEM_NONE;
    if (item != ITEM_NONE) reach += 12;
    return reach;
}

void walk(const Person& p, const BodyPart* node, const float* parent, const float* centre, float& radius) {
    for (; node; node = node->nextSibling) {
        float world[16];
        multiply(parent, node->transform, world);
        const float dx = world[12] - centre[0], dy = world[13] - centre[1], dz = world[14] - centre[2];
        radius = std::max(radius, std::sqrt(dx * dx + dy * dy + dz * dz) + partReach(p, node->index));
        walk(p, node->firstChild, world, centre, radius);
    }
}

float length3(float x, float y, float z) { return std::sqrt(x * x + y * y + z * z); }

}  // namespace

BoundingSphere figureBounds(const Person& p) {
    const float* root = p.part[ROOT].transform;
    BoundingSphere s{{root[12], root[13], root[14]}, 0};
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    walk(p, &p.part[ROOT], identity, s.centre, s.radius);
    return s;
}

bool FigureView::sees(const BoundingSphere& s) const {
    float clip[16];
    multiply(projection, modelview, clip);
    auto row = [&](int r, int k) { return clip[k * 4 + r]; };
    // The six planes are the last row plus or minus each of the others.
    for (int r = 0; r < 3; r++)
        for (int sign = -1; sign <= 1; sign += 2) {
            const float a = row(3, 0) + sign * row(r, 0), b = row(3, 1) + sign * row(r, 1);
            const float c = row(3, 2) + sign * row(r, 2), d = row(3, 3) + sign * row(r, 3);
            const float n = length3(a, b, c);
            if (n == 0) continue;
            if ((a * s.centre[0] + b * s.centre[1] + c * s.centre[2] + d) / n < -s.radius) return false;
        }
    return true;
}

float FigureView::pixelsPerUnit(const BoundingSphere& s) const {
    const float* m = modelview;
    const float* p = projection;
    // The modelview's own scale, if any, grows the figure on screen too.
    const float scale = std::max({length3(m[0], m[1], m[2]), length3(m[4], m[5], m[6]),
                                  length3(m[8], m[9], m[10])});
    const float across = std::max(std::fabs(p[0]) * viewportWidth, std::fabs(p[5]) * viewportHeight) / 2;
    if (p[15] != 0) return across * scale;  // orthographic: the same at every depth
    const float eyeZ = m[2] * s.centre[0] + m[6] * s.centre[1] + m[10] * s.centre[2] + m[14];
    const float depth = -eyeZ - s.radius * scale;
    if (depth <= 1e-3f) return 1e6f;
    return across * scale / depth;
}
