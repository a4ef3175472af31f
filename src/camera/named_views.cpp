// named_views.cpp - framing the figures for the top, front and side views.
#include "camera/named_views.h"

#include <algorithm>
#include <cmath>

#include "camera/camera.h"
#include "figure/person.h"
#include "figure/skeleton.h"

namespace {

struct Axes {
    float forward[3], right[3], up[3];
};

// Top looks down with the back of the stage at the top of the screen; front
// looks along -z; the right side looks from +x towards -x.
constexpr Axes kAxes[] = {
    {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},   // camera (not used)
    {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},  // top
    {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},   // front
    {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}},  // right side
};

float dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Every joint of the figure in the world, through the one skeleton pass.
template <typename Fn>
void forEachJoint(const Person& p, Fn fn) {
    Mat4 model[BODY_PART_COUNT];
    skeleton::modelMatrices(p, model);
    for (int k = 0; k < BODY_PART_COUNT; k++) fn(&model[skeleton::kOrder[k]].m[12]);
}

}  // namespace

void namedViewAxes(int view, float forward[3], float right[3], float up[3]) {
    const Axes& a = kAxes[(view >= VIEW_TOP && view <= VIEW_RIGHT) ? view : VIEW_FRONT];
    for (int k = 0; k < 3; k++) {
        forward[k] = a.forward[k];
        right[k] = a.right[k];
        up[k] = a.up[k];
    }
}

ViewBox frameNamedView(int view, const Person* persons, int count, float width, float height) {
    float f[3], r[3], u[3];
    namedViewAxes(view, f, r, u);
    // Extents of every joint along the view's three axes.
    float lo[3] = {INFINITY, INFINITY, INFINITY}, hi[3] = {-INFINITY, -INFINITY, -INFINITY};
    auto take = [&](const float* at) {
        const float d[3] = {dot(at, r), dot(at, u), dot(at, f)};
        for (int k = 0; k < 3; k++) {
            lo[k] = std::min(lo[k], d[k]);
            hi[k] = std::max(hi[k], d[k]);
        }
    };
    for (int i = 0; i < count; i++) forEachJoint(persons[i], take);
    if (count <= 0) {
        const float origin[3] = {0, 0, 0};
        take(origin);
    }
    double halfW = (hi[0] - lo[0]) / 2 + VIEW_MARGIN, halfH = (hi[1] - lo[1]) / 2 + VIEW_MARGIN;
    const double aspect = (width > 0 ? width : 1) / static_cast<double>(height > 0 ? height : 1);
    if (halfW / halfH < aspect) halfW = halfH * aspect; else halfH = halfW / aspect;
    const double depth = (hi[2] - lo[2]) / 2 + VIEW_MARGIN + 10;  // the floor's thickness and the arrows
    const float mid[3] = {(lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2, (lo[2] + hi[2]) / 2};

    ViewBox b;
    for (int k = 0; k < 3; k++) {
        b.target[k] = mid[0] * r[k] + mid[1] * u[k] + mid[2] * f[k];
        b.eye[k] = b.target[k] - f[k] * static_cast<float>(2 * depth);
        b.up[k] = u[k];
    }
    b.left = -halfW; b.right = halfW;
    b.bottom = -halfH; b.top = halfH;
    b.nearPlane = depth; b.farPlane = 3 * depth;
    return b;
}

void showNamedView(NamedViewState& s, const Camera& camera, int view, const Person* persons, int count,
                   float width, float height) {
    if (s.view == VIEW_CAMERA) {
        for (int k = 0; k < 3; k++) {
            s.savedEye[k] = camera.eye[k];
            s.savedTarget[k] = camera.target[k];
        }
    }
    s.view = view;
    s.box = frameNamedView(view, persons, count, width, height);
    s.framedWidth = width;
    s.framedHeight = height;
}

const ViewBox& namedViewBox(NamedViewState& s, const Person* persons, int count, float width, float height) {
    if (s.framedWidth != width || s.framedHeight != height) {
        s.box = frameNamedView(s.view, persons, count, width, height);
        s.framedWidth = width;
        s.framedHeight = height;
    }
    return s.box;
}

void showCameraView(NamedViewState& s, Camera& camera) {
    if (s.view != VIEW_CAMERA) {
        camera.setEye(s.savedEye[0], s.savedEye[1], s.savedEye[2]);
        camera.setTarget(s.savedTarget);
    }
    s.view = VIEW_CAMERA;
}
