// figure_view.cpp - a figure's bounding sphere from its part matrices and
// the reach of each part's recipe, and the view-volume and screen-size
// questions about it.
#include "figure/figure_view.h"

#include <algorithm>
#include <cmath>

#include "figure/part_shapes.h"
#include "figure/skeleton.h"

namespace {

// The recipe's reach remembered per part for the last few sets of sizes, so
// a frame of many alike figures builds each recipe about once.
struct ReachMemo {
    static constexpr int kWays = 4;
    struct Entry {
        bool valid = false;
        float length = 0, radius = 0;
        bool male = true;
        int item = 0;
        float reach = 0;
    } entry[BODY_PART_COUNT][kWays];
    int next[BODY_PART_COUNT] = {};
} memo;

// The fast path's tessellation was tuned with a roomier sphere than the
// shapes need: 1.1 L + 2.5 R a part and 12 for a held item. Closer figures
// keep their full detail with it, so the pictures stay as they were; the
// recipe makes sure the sphere never falls short of a shape.
float allowance(const BodyPart& b, int item) {
    return 1.1f * std::fabs(b.length) + 2.5f * std::fabs(b.radius) + (item != ITEM_NONE ? 12.0f : 0.0f);
}

float partReach(const Person& p, int i) {
    const int item = i == LHI ? p.leftHandItem : i == RHI ? p.rightHandItem : ITEM_NONE;
    const BodyPart& b = p.part[i];
    for (const ReachMemo::Entry& e : memo.entry[i])
        if (e.valid && e.length == b.length && e.radius == b.radius && e.male == p.isMale && e.item == item)
            return e.reach;
    static partshapes::Recipe recipe;  // GL thread only, as the drawing
    partshapes::recipeFor(p, i, recipe);
    ReachMemo::Entry& e = memo.entry[i][memo.next[i]];
    memo.next[i] = (memo.next[i] + 1) % ReachMemo::kWays;
    e = {true, b.length, b.radius, p.isMale, item, std::max(allowance(b, item), partshapes::reachOf(recipe))};
    return e.reach;
}

float length3(float x, float y, float z) { return std::sqrt(x * x + y * y + z * z); }

}  // namespace

void partReaches(const Person& p, float reach[BODY_PART_COUNT]) {
    for (int i = 0; i < BODY_PART_COUNT; i++) reach[i] = partReach(p, i);
}

// Each part's shapes lie within its reach of its joint, and the part
// matrices neither stretch nor squash.
BoundingSphere figureBounds(const Mat4 model[BODY_PART_COUNT], const float reach[BODY_PART_COUNT]) {
    const float* root = model[ROOT].m;
    BoundingSphere s{{root[12], root[13], root[14]}, 0};
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        const float* m = model[i].m;
        s.radius = std::max(s.radius, length3(m[12] - s.centre[0], m[13] - s.centre[1], m[14] - s.centre[2]) + reach[i]);
    }
    return s;
}

BoundingSphere figureBounds(const Person& p) {
    Mat4 model[BODY_PART_COUNT];
    skeleton::modelMatrices(p, model);
    float reach[BODY_PART_COUNT];
    partReaches(p, reach);
    return figureBounds(model, reach);
}

bool FigureView::sees(const BoundingSphere& s) const {
    const Mat4 clip = Mat4::from(projection) * Mat4::from(modelview);
    auto row = [&](int r, int k) { return clip.m[k * 4 + r]; };
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
