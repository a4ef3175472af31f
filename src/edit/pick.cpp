// pick.cpp - ray picking of body parts, and the click test.
//
// Sections: matrices | part shapes | ray tests | rays and picking | clicks.
//
// The shapes are built by replaying each part's drawing recipe on a small
// matrix stack (translate, rotate, scale, then a unit primitive), so they
// follow person_draw.cpp step for step. A unit primitive is the unit sphere,
// the box -1..1 on every axis, or GLU's cylinder: radius 1 about +z from
// z = 0 to 1 (cones are taken at their wider radius; caps are treated as
// solid). Matrices are column-major, as GL keeps them.
#include "edit/pick.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "core/app_state.h"
#include "camera/projection.h"
#include "camera/camera.h"
#include "figure/person.h"

namespace {

// ============================================================ matrices

struct Mat4 {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

Mat4 multiply(const Mat4& a, const Mat4& b) {
    Mat4 c;
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++) {
            double s = 0;
            for (int k = 0; k < 4; k++) s += a.m[k * 4 + row] * b.m[col * 4 + k];
            c.m[col * 4 + row] = s;
        }
    return c;
}

Mat4 fromArray(const float m[16]) {
    Mat4 r;
    for (int i = 0; i < 16; i++) r.m[i] = m[i];
    return r;
}

// Inverse of an affine matrix; false when it is singular (a part of size 0).
bool invertAffine(const Mat4& a, Mat4& inv) {
    const double* m = a.m;
    const double c00 = m[5] * m[10] - m[9] * m[6];
    const double c01 = m[8] * m[6] - m[4] * m[10];
    const double c02 = m[4] * m[9] - m[8] * m[5];
    const double det = m[0] * c00 + m[1] * c01 + m[2] * c02;
    if (std::fabs(det) < 1e-18) return false;
    const double d = 1 / det;
    double* r = inv.m;
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
    for (int row = 0; row < 3; row++)
        r[12 + row] = -(r[row] * m[12] + r[4 + row] * m[13] + r[8 + row] * m[14]);
    return true;
}

void transformPoint(const Mat4& a, const double p[3], double out[3]) {
    for (int row = 0; row < 3; row++)
        out[row] = a.m[row] * p[0] + a.m[4 + row] * p[1] + a.m[8 + row] * p[2] + a.m[12 + row];
}

void transformVector(const Mat4& a, const double v[3], double out[3]) {
    for (int row = 0; row < 3; row++)
        out[row] = a.m[row] * v[0] + a.m[4 + row] * v[1] + a.m[8 + row] * v[2];
}

// ============================================================ part shapes

enum ShapeKind { SHAPE_SPHERE, SHAPE_BOX, SHAPE_CYLINDER };

struct Shape {
    ShapeKind kind;
    Mat4 toPart;  // unit primitive -> part frame
};

constexpr int kMaxShapesPerPart = 8;

// The drawing's matrix calls, recording a shape at each primitive.
class ShapeRecorder {
public:
    Shape shapes[kMaxShapesPerPart];
    int count = 0;

    void push() { stack_[depth_++] = current_; }
    void pop() { current_ = stack_[--depth_]; }
    void translate(double x, double y, double z) {
        Mat4 t;
        t.m[12] = x; t.m[13] = y; t.m[14] = z;
        current_ = multiply(current_, t);
    }
    void rotateX(double degrees) { rotate(degrees, 1, 2); }
    void rotateZ(double degrees) { rotate(degrees, 0, 1); }
    void scale(double x, double y, double z) {
        Mat4 s;
        s.m[0] = x; s.m[5] = y; s.m[10] = z;
        current_ = multiply(current_, s);
    }
    void sphere(double r) { add(SHAPE_SPHERE, r, r, r); }
    void cylinder(double radius, double height) { add(SHAPE_CYLINDER, radius, radius, height); }
    void box(double sx, double sy, double sz) { add(SHAPE_BOX, sx, sy, sz); }

private:
    Mat4 current_;
    Mat4 stack_[4];
    int depth_ = 0;

    // Rotation in the plane of axes a, b (a -> b positive), as glRotatef.
    void rotate(double degrees, int a, int b) {
        const double rad = degrees * M_PI / 180.0;
        Mat4 r;
        r.m[a * 4 + a] = std::cos(rad);
        r.m[a * 4 + b] = std::sin(rad);
        r.m[b * 4 + a] = -std::sin(rad);
        r.m[b * 4 + b] = std::cos(rad);
        current_ = multiply(current_, r);
    }
    void add(ShapeKind kind, double sx, double sy, double sz) {
        if (count == kMaxShapesPerPart || sx == 0 || sy == 0 || sz == 0) return;
        push();
        scale(sx, sy, sz);
        shapes[count++] = {kind, current_};
        pop();
    }
};

void gunGrip(ShapeRecorder& s, double w, double g) {
    s.rotateX(200);
    s.box(w, w, g);
    s.rotateX(-110);
    s.translate(0, -0.5f, 0);
    s.rotateX(180);
}

void heldItemShapes(ShapeRecorder& s, int item) {
    switch (item) {
        case ITEM_BALL: s.sphere(0.5f); break;
        case ITEM_FLOWER:
            s.translate(0, -1, 0);
            s.rotateX(-90);
            s.cylinder(0.05f, 2);
            s.rotateX(90);
            s.translate(0, 2, 0);
            s.rotateX(-90);
            s.cylinder(0.5f, 0.8f);  // the petal cones, at their wider rim
            break;
        case ITEM_DISC:
            s.translate(0, 1.5f, 0);
            s.rotateZ(90);
            s.scale(1, 0.001f, 1);
            s.push();
            s.scale(1, 15, 1);  // the label discs lie 0.01 off either face
            s.sphere(1.5f);
            s.pop();
            break;
        case ITEM_SWORD:
            s.rotateX(180);
            s.cylinder(0.07f, 8);
            s.translate(0, 0, 0.5f);
            s.cylinder(0.42f, 0.14f);
            break;
        case ITEM_GUN:
            gunGrip(s, 0.2f, 0.7f);
            s.cylinder(0.2f, 1.9f);
            break;
        case ITEM_TUBE_GUN:
            gunGrip(s, 0.2f, 1.0f);
            s.translate(0, 0, -4.2f);
            s.cylinder(0.5f, 7);
            s.cylinder(0.35f, 7.35f);
            break;
        default: break;
    }
}

// The shapes part `idx` is drawn with, in its own frame.
void partShapes(const Person& p, int idx, ShapeRecorder& s) {
    const double L = p.part[idx].length, R = p.part[idx].radius;
    switch (idx) {
        case ROOT: break;
        case TORSO:
            s.sphere(0.9f * R);
            s.push();
            s.translate(0, 0.5f * L, 0);
            s.box(R, L / 2, R);
            s.pop();
            if (!p.isMale) {
                s.push();
                s.translate(0.5f * R, 0.65f * L, R);
                s.sphere(0.8f * R);
                s.translate(-R, 0, 0);
                s.sphere(0.8f * R);
                s.pop();
            }
            s.translate(0, 0.75f * L, 0);
            s.box(1.5f * R, 0.25f * L, 0.5f * R);
            break;
        case PELVIS:
            s.rotateX(-90);
            s.cylinder(R, L);
            break;
        case NECK:
            s.rotateX(-90);
            s.sphere(R);
            s.cylinder(R, L);
            break;
        case HEAD:
            s.translate(0, 0.5f * L, 0);
            s.push();
            s.rotateX(-90);
            s.scale(R, R, L);
            s.sphere(1);
            s.pop();
            s.translate(0.32f * R, 0.1f * R, 0.9f * R);
            s.sphere(0.24f * R);
            s.translate(-0.64f * R, 0, 0);
            s.sphere(0.24f * R);
            break;
        case LHI: heldItemShapes(s, p.leftHandItem); break;
        case RHI: heldItemShapes(s, p.rightHandItem); break;
        default:  // limbs: a joint ball and an ellipsoid from -0.1L to 1.1L
            s.rotateX(-90);
            s.sphere(R);
            if (L > 0) {
                s.translate(0, 0, 0.5f * L);
                s.scale(2 * R / L, 2 * R / L, 1);
                s.sphere(0.6f * L);
            }
            break;
    }
}

// Every part's matrix in the scene: the products drawNode multiplies.
void worldMatrices(const Person& p, Mat4 world[BODY_PART_COUNT]) {
    struct Walk {
        Mat4* world;
        void node(const BodyPart* n, const Mat4& parent) {
            for (; n; n = n->nextSibling) {
                world[n->index] = multiply(parent, fromArray(n->transform));
                node(n->firstChild, world[n->index]);
            }
        }
    } walk{world};
    walk.node(&p.part[ROOT], Mat4());
}

// ============================================================ ray tests
// Each takes the ray in the primitive's unit space and gives where it
// enters and leaves the solid (t0 <= t1), or false when it misses.

bool solveQuadratic(double a, double b, double c, double& t0, double& t1) {
    if (a == 0) return false;
    const double disc = b * b - 4 * a * c;
    if (disc < 0) return false;
    const double root = std::sqrt(disc);
    t0 = (-b - root) / (2 * a);
    t1 = (-b + root) / (2 * a);
    if (t0 > t1) std::swap(t0, t1);
    return true;
}

double dot3(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

bool hitUnitSphere(const double o[3], const double d[3], double& t0, double& t1) {
    return solveQuadratic(dot3(d, d), 2 * dot3(o, d), dot3(o, o) - 1, t0, t1);
}

// Clips [t0, t1] to where lo <= o + t d <= hi along one axis.
bool clipSlab(double o, double d, double lo, double hi, double& t0, double& t1) {
    if (d == 0) return o >= lo && o <= hi;
    double a = (lo - o) / d, b = (hi - o) / d;
    if (a > b) std::swap(a, b);
    if (a > t0) t0 = a;
    if (b < t1) t1 = b;
    return t0 <= t1;
}

bool hitUnitBox(const double o[3], const double d[3], double& t0, double& t1) {
    t0 = -INFINITY;
    t1 = INFINITY;
    for (int k = 0; k < 3; k++)
        if (!clipSlab(o[k], d[k], -1, 1, t0, t1)) return false;
    return true;
}

bool hitUnitCylinder(const double o[3], const double d[3], double& t0, double& t1) {
    const double a = d[0] * d[0] + d[1] * d[1];
    if (a == 0) {  // along the axis: inside the round or not at all
        if (o[0] * o[0] + o[1] * o[1] > 1) return false;
        t0 = -INFINITY;
        t1 = INFINITY;
    } else if (!solveQuadratic(a, 2 * (o[0] * d[0] + o[1] * d[1]),
                               o[0] * o[0] + o[1] * o[1] - 1, t0, t1)) {
        return false;
    }
    return clipSlab(o[2], d[2], 0, 1, t0, t1);
}

// The nearest visible point of a shape: where the ray enters it, or, when
// the near plane cuts into it, where it leaves (its inside is drawn there).
bool hitShape(const Shape& shape, const Mat4& partToWorld, const PickRay& ray, double& t) {
    Mat4 toUnit;
    if (!invertAffine(multiply(partToWorld, shape.toPart), toUnit)) return false;
    const double origin[3] = {ray.origin[0], ray.origin[1], ray.origin[2]};
    const double dir[3] = {ray.dir[0], ray.dir[1], ray.dir[2]};
    double o[3], d[3];
    transformPoint(toUnit, origin, o);
    transformVector(toUnit, dir, d);
    double t0 = 0, t1 = 0;
    bool hit = false;
    switch (shape.kind) {
        case SHAPE_SPHERE: hit = hitUnitSphere(o, d, t0, t1); break;
        case SHAPE_BOX: hit = hitUnitBox(o, d, t0, t1); break;
        case SHAPE_CYLINDER: hit = hitUnitCylinder(o, d, t0, t1); break;
    }
    if (!hit) return false;
    t = t0 >= ray.tMin ? t0 : t1;
    return t >= ray.tMin && t <= ray.tMax;
}

void normalise(double v[3]) {
    const double len = std::sqrt(dot3(v, v));
    if (len > 0)
        for (int k = 0; k < 3; k++) v[k] /= len;
}

void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// ============================================================ clicks

struct ClickState {
    bool pending = false;
    int x = 0, y = 0;
} click;

bool withinSlop(int x, int y) {
    return std::abs(x - click.x) <= CLICK_SLOP_PIXELS && std::abs(y - click.y) <= CLICK_SLOP_PIXELS;
}

}  // namespace

// ============================================================ rays and picking

PickRay rayThroughPixel(int x, int y, float width, float height, bool orthographic,
                        const Camera& camera) {
    const Projection p = projectionFor(width, height, orthographic);
    const float w = width > 0 ? width : 1, h = height > 0 ? height : 1;
    // Normalised device coordinates of the pixel's centre, +y up.
    const double nx = 2 * (x + 0.5) / w - 1;
    const double ny = 1 - 2 * (y + 0.5) / h;
    PickRay ray;
    if (orthographic) {
        // Identity model-view: eye space is the scene; depth -10..10 is z 10..-10.
        ray.origin[0] = static_cast<float>(p.left + (nx + 1) / 2 * (p.right - p.left));
        ray.origin[1] = static_cast<float>(p.bottom + (ny + 1) / 2 * (p.top - p.bottom));
        ray.origin[2] = static_cast<float>(-p.nearPlane);
        ray.dir[0] = 0; ray.dir[1] = 0; ray.dir[2] = -1;
        ray.tMin = 0;
        ray.tMax = static_cast<float>(p.farPlane - p.nearPlane);
        return ray;
    }
    // gluLookAt's frame: forward f, side s = f x up, true up u = s x f.
    double f[3], s[3], u[3], d[3];
    const double up[3] = {0, 1, 0};
    for (int k = 0; k < 3; k++) f[k] = camera.target[k] - camera.eye[k];
    normalise(f);
    cross(f, up, s);
    normalise(s);
    cross(s, f, u);
    const double tanHalf = std::tan(p.fovY * M_PI / 360.0);
    const double ex = nx * tanHalf * p.aspect, ey = ny * tanHalf;
    for (int k = 0; k < 3; k++) d[k] = s[k] * ex + u[k] * ey + f[k];
    normalise(d);
    for (int k = 0; k < 3; k++) {
        ray.origin[k] = camera.eye[k];
        ray.dir[k] = static_cast<float>(d[k]);
    }
    // Depth along f per unit of ray: the clipping planes are depths.
    const double depthPerUnit = dot3(d, f);
    ray.tMin = static_cast<float>(p.nearPlane / depthPerUnit);
    ray.tMax = static_cast<float>(p.farPlane / depthPerUnit);
    return ray;
}

bool pickPart(const Person* persons, int count, const PickRay& ray, PickHit& hit) {
    PickHit best;
    best.distance = INFINITY;
    Mat4 world[BODY_PART_COUNT];
    for (int i = 0; i < count; i++) {
        const Person& p = persons[i];
        worldMatrices(p, world);
        for (int idx = 0; idx < BODY_PART_COUNT; idx++) {
            ShapeRecorder shapes;
            partShapes(p, idx, shapes);
            for (int k = 0; k < shapes.count; k++) {
                double t;
                if (hitShape(shapes.shapes[k], world[idx], ray, t) && t < best.distance) {
                    best.person = i;
                    best.part = idx;
                    best.distance = static_cast<float>(t);
                }
            }
        }
    }
    if (best.person < 0) return false;
    hit = best;
    return true;
}

bool selectPartAtPixel(int x, int y) {
    if (app.helpVisible || app.keyboardChartVisible) return false;
    const PickRay ray = rayThroughPixel(x, y, app.windowWidth, app.windowHeight,
                                        app.orthographicView, app.camera);
    PickHit hit;
    if (!pickPart(app.persons, app.numPersons, ray, hit)) return false;
    app.selectedPerson = hit.person;
    app.persons[hit.person].selectPart(hit.part);
    return true;
}

// ============================================================ click test

void clickPressed(int x, int y) {
    click.pending = true;
    click.x = x;
    click.y = y;
}

void clickMoved(int x, int y) {
    if (click.pending && !withinSlop(x, y)) click.pending = false;
}

bool clickReleased(int x, int y) {
    const bool wasClick = click.pending && withinSlop(x, y);
    click.pending = false;
    return wasClick;
}
