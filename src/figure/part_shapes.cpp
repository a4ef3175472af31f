// part_shapes.cpp - the recipe of every body part and held item, written as
// the steps of a matrix stack (translate, rotate, scale, then a shape), the
// way the figures were designed. Sizes follow the part's (already scaled)
// length L and radius R; held items have fixed sizes.
//
// Sections (search "[SECTION]"): the builder | held items | body parts |
// reach.
#include "figure/part_shapes.h"

#include <algorithm>
#include <cmath>

#include "figure/person.h"
#include "gfx/texture_slots.h"

namespace partshapes {

namespace {

// Tessellation: coarse on purpose, the figures are small on screen.
constexpr int kSlices = 10;
constexpr int kStacks = 6;

// [SECTION] the builder

// The steps of a recipe, recording a shape at each primitive.
class Builder {
public:
    explicit Builder(Recipe& out) : out_(out) { out_.count = 0; }

    void push() { stack_[depth_++] = frame_; }
    void pop() { frame_ = stack_[--depth_]; }
    void translate(float x, float y, float z) { frame_ = translated(frame_, x, y, z); }
    void rotateX(float degrees) { frame_ = rotated(frame_, degrees, 0); }
    void rotateZ(float degrees) { frame_ = rotated(frame_, degrees, 2); }
    void scale(float x, float y, float z) { frame_ = scaled(frame_, x, y, z); }

    // What the shapes after this are drawn in.
    void colour(float r, float g, float b) {
        look_.colour = Look::OPAQUE;
        look_.rgb[0] = r;
        look_.rgb[1] = g;
        look_.rgb[2] = b;
    }
    void whiteAtFigureAlpha() { look_.colour = Look::WHITE_AT_FIGURE_ALPHA; }
    void texture(int slot, bool onlyTextured = false) {
        look_.texture = slot;
        look_.onlyTextured = onlyTextured;
    }

    void sphere(float r, int slices = kSlices, int stacks = kStacks, float across = 1, float along = 1) {
        Shape& s = add(Kind::SPHERES);
        s.sphereCount = 1;
        s.sphere[0] = {r, {0, 0, 0}, {1, 1, 1}, slices, stacks, across, along};
    }
    void spherePair(Pair pair, float a, float b, const Sphere& first, const Sphere& second) {
        Shape& s = add(Kind::SPHERES);
        s.sphereCount = 2;
        s.sphere[0] = first;
        s.sphere[1] = second;
        s.pair = pair;
        s.pairSize[0] = a;
        s.pairSize[1] = b;
    }
    void tube(float base, float top, float height, int slices = kSlices, int stacks = kStacks) {
        Shape& s = add(Kind::TUBE);
        s.base = base;
        s.top = top;
        s.height = height;
        s.slices = slices;
        s.stacks = stacks;
    }
    void box(float x, float y, float z, bool figureBox = false) {
        Shape& s = add(Kind::BOX);
        s.half[0] = x;
        s.half[1] = y;
        s.half[2] = z;
        s.figureBox = figureBox;
    }

private:
    Recipe& out_;
    Mat4 frame_;
    Mat4 stack_[4];
    int depth_ = 0;
    Look look_;

    Shape& add(Kind kind) {
        Shape& s = out_.shape[out_.count < kMaxShapes - 1 ? out_.count++ : kMaxShapes - 1];
        s = Shape();
        s.kind = kind;
        s.frame = frame_;
        s.look = look_;
        look_ = Look();  // a look is set once, before the shape that needs it
        return s;
    }
};

// [SECTION] held items
// Each sets its own opaque colours, so items stay solid in trail copies.

void ball(Builder& b) {
    b.texture(TEX_FABRIC_RED);
    b.colour(1, 0, 0);
    b.sphere(0.5f);
}

void flower(Builder& b) {
    const float s = 0.05f, h = 2;
    // The stem keeps whatever texture is bound (normally the hand's).
    b.translate(0, -0.5f * h, 0);
    b.colour(0, 1, 0);
    b.rotateX(-90);
    b.tube(s, s, h);
    b.rotateX(90);
    b.translate(0, h, 0);
    // Petals: two four-sided cones.
    b.texture(TEX_FABRIC_RED);
    b.colour(1, 0, 0);
    b.rotateX(-90);
    b.tube(s, 0.3f, 0.4f * h, 4, 1);
    b.tube(s, 0.5f, 0.3f * h, 4, 1);
}

void disc(Builder& b) {
    const float d = 1.5f;
    b.translate(0, d, 0);
    b.rotateZ(90);
    b.texture(TEX_COLOR_BLACK);
    b.colour(1, 1, 1);
    b.scale(1, 0.001f, 1);  // a squashed sphere is the disc
    b.sphere(d);
    // Labels: still squashed, so 10 units out is 0.01 off either face.
    b.texture(TEX_LOGO);
    b.colour(0.5f, 0.5f, 0.5f);
    b.translate(0, 10, 0);
    b.sphere(d / 2);
    b.translate(0, -20, 0);
    b.sphere(d / 2);
}

void sword(Builder& b) {
    const float a = 0.07f, h = 8;
    b.texture(TEX_COLOR_SILVER);
    b.colour(0.5f, 0.5f, 0.5f);
    b.rotateX(180);
    b.tube(a, a, h);  // the blade
    b.translate(0, 0, 0.5f);
    b.tube(6 * a, 6 * a, 2 * a);  // the guard
}

// Grip, then turns the barrel's axis out of the hand: shared by both guns.
void gunGrip(Builder& b, float w, float g) {
    b.texture(TEX_COLOR_SILVER);
    b.colour(0.5f, 0.5f, 0.5f);
    b.rotateX(200);
    b.box(w, w, g);
    b.rotateX(-110);
    b.translate(0, -0.5f, 0);
    b.rotateX(180);
}

void sight(Builder& b, float s) { b.box(s, 3 * s, 2 * s); }

void gun(Builder& b) {
    const float w = 0.2f, barrel = 1.9f, g = 0.7f, s = 0.05f;
    gunGrip(b, w, g);
    b.tube(w, w, barrel);
    b.translate(0, w, 0.8f * barrel);
    sight(b, s);
}

void tubeGun(Builder& b) {
    const float r = 0.5f, h = 7, w = 0.2f, g = 1.0f, s = 0.07f;
    gunGrip(b, w, g);
    b.translate(0, 0, -0.6f * h);
    b.tube(r, r, h);
    b.tube(0.7f * r, 0.7f * r, 1.05f * h);
    b.texture(TEX_COLOR_BLACK);
    b.translate(0, 0, 0.2f * h);
    b.box(r, r, r / 2);  // the bands
    b.translate(0, 0, 0.6f * h);
    b.box(r, r, r / 2);
    b.translate(0, r, 0.1f * h);
    sight(b, s);
}

void heldItem(Builder& b, int item) {
    switch (item) {
        case ITEM_BALL: ball(b); break;
        case ITEM_FLOWER: flower(b); break;
        case ITEM_DISC: disc(b); break;
        case ITEM_SWORD: sword(b); break;
        case ITEM_GUN: gun(b); break;
        case ITEM_TUBE_GUN: tubeGun(b); break;
        default: break;  // none, or a value no item has
    }
}

// [SECTION] body parts

void torso(Builder& b, float L, float R, bool male) {
    b.sphere(0.9f * R);
    b.push();  // chest block, from the joint up to L
    b.translate(0, 0.5f * L, 0);
    b.box(R, L / 2, R, true);
    b.pop();
    if (!male) {
        // Drawn with the box's last face texture still bound.
        b.push();
        b.translate(0.5f * R, 0.65f * L, R);
        b.sphere(0.8f * R);
        b.translate(-R, 0, 0);
        b.sphere(0.8f * R);
        b.pop();
    }
    b.translate(0, 0.75f * L, 0);  // shoulder block
    b.box(1.5f * R, 0.25f * L, 0.5f * R, true);
}

void head(Builder& b, float L, float R) {
    // An ellipsoid, R across and L/2 along, centred half-way up.
    b.translate(0, 0.5f * L, 0);
    b.push();
    b.rotateX(-90);
    b.scale(R, R, L);
    b.sphere(1, kSlices, kStacks, R, L);
    b.pop();
    // Eyes, spheres of 0.24 R on the front (+z) of the head: one mesh where
    // the path can.
    b.whiteAtFigureAlpha();
    b.texture(TEX_EYE, true);
    const float r = 0.24f * R;
    const Sphere right = {r, {0.32f * R, 0.1f * R, 0.9f * R}, {1, 1, 1}, kSlices, kStacks, 1, 1};
    const Sphere left = {r, {-0.32f * R, 0.1f * R, 0.9f * R}, {1, 1, 1}, kSlices, kStacks, 1, 1};
    b.spherePair(Pair::EYES, R, 1, right, left);
}

// Stomach, arms, hands, legs and feet: a joint ball and an ellipsoid 1.2 R
// across reaching from -0.1 L to 1.1 L.
void limb(Builder& b, float L, float R) {
    b.rotateX(-90);
    if (!(L > 0)) {
        b.sphere(R);
        return;
    }
    const float across = 2 * R / L;
    const Sphere ball = {R, {0, 0, 0}, {1, 1, 1}, kSlices, kStacks, 1, 1};
    const Sphere body = {0.6f * L, {0, 0, 0.5f * L}, {across, across, 1}, kSlices, kStacks, across, 1};
    b.spherePair(Pair::LIMB, R, L, ball, body);
}

}  // namespace

void recipeFor(const Person& p, int idx, Recipe& out) {
    Builder b(out);
    if (idx < 0 || idx >= BODY_PART_COUNT) return;
    const float L = p.part[idx].length, R = p.part[idx].radius;
    switch (idx) {
        case ROOT: break;
        case TORSO: torso(b, L, R, p.isMale); break;
        case PELVIS:
            b.rotateX(-90);
            b.tube(R, R, L);
            break;
        case NECK:
            b.rotateX(-90);
            b.sphere(R, 6, 6);
            b.tube(R, R, L, 8, 4);
            break;
        case HEAD: head(b, L, R); break;
        case LHI: heldItem(b, p.leftHandItem); break;
        case RHI: heldItem(b, p.rightHandItem); break;
        default: limb(b, L, R); break;
    }
}

// [SECTION] reach

namespace {

// The farthest corner from the frame's origin of the box lo..hi in `at`.
float farthestCorner(const Mat4& at, const float lo[3], const float hi[3]) {
    float reach = 0;
    for (int c = 0; c < 8; c++) {
        const float p[3] = {(c & 1) ? hi[0] : lo[0], (c & 2) ? hi[1] : lo[1], (c & 4) ? hi[2] : lo[2]};
        float q[3];
        transform(at, p, q);
        reach = std::max(reach, std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]));
    }
    return reach;
}

}  // namespace

float reachOf(const Recipe& r) {
    float reach = 0;
    for (int i = 0; i < r.count; i++) {
        const Shape& s = r.shape[i];
        float lo[3], hi[3];
        switch (s.kind) {
            case Kind::SPHERES:
                for (int k = 0; k < s.sphereCount; k++) {
                    const Sphere& o = s.sphere[k];
                    for (int a = 0; a < 3; a++) {
                        const float extent = std::fabs(o.radius * o.scale[a]);
                        lo[a] = o.offset[a] - extent;
                        hi[a] = o.offset[a] + extent;
                    }
                    reach = std::max(reach, farthestCorner(s.frame, lo, hi));
                }
                continue;
            case Kind::TUBE: {
                const float w = std::max(std::fabs(s.base), std::fabs(s.top));
                lo[0] = lo[1] = -w;
                hi[0] = hi[1] = w;
                lo[2] = std::min(0.0f, s.height);
                hi[2] = std::max(0.0f, s.height);
                break;
            }
            case Kind::BOX:
                for (int a = 0; a < 3; a++) {
                    lo[a] = -std::fabs(s.half[a]);
                    hi[a] = std::fabs(s.half[a]);
                }
                break;
        }
        reach = std::max(reach, farthestCorner(s.frame, lo, hi));
    }
    return reach;
}

}  // namespace partshapes
