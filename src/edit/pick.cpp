// pick.cpp - ray picking of body parts, and the click test.
//
// Sections (search "[SECTION]"): part shapes | ray tests | clicks |
// rays and picking | click test.
//
// The shapes are the drawing's own recipe (figure/part_shapes.h) placed by
// the same part matrices (figure/skeleton.h), each turned into a unit
// primitive: the unit sphere, the box -1..1 on every axis, or GLU's
// cylinder, radius 1 about +z from z = 0 to 1 (cones are taken at their
// wider radius; caps are treated as solid). Matrices are column-major, as
// GL keeps them, in double for the ray tests.
#include "edit/pick.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "core/app_state.h"
#include "camera/projection.h"
#include "camera/camera.h"
#include "figure/part_shapes.h"
#include "figure/person.h"
#include "figure/skeleton.h"

namespace {

// [SECTION] part shapes

enum ShapeKind { SHAPE_SPHERE, SHAPE_BOX, SHAPE_CYLINDER };

struct Shape {
    ShapeKind kind;
    Mat4d toPart;  // unit primitive -> part frame
};

// Two spheres in a recipe shape at the most.
constexpr int kMaxShapesPerPart = 2 * partshapes::kMaxShapes;

struct PartShapes {
    Shape shapes[kMaxShapesPerPart];
    int count = 0;
    void add(ShapeKind kind, const Mat4d& frame, double x, double y, double z) {
        if (count == kMaxShapesPerPart || x == 0 || y == 0 || z == 0) return;
        shapes[count++] = {kind, scaled(frame, x, y, z)};
    }
};

// The shapes part `idx` is drawn with, in its own frame, as unit primitives.
void partShapes(const Person& p, int idx, PartShapes& out) {
    partshapes::Recipe recipe;
    partshapes::recipeFor(p, idx, recipe);
    for (int i = 0; i < recipe.count; i++) {
        const partshapes::Shape& s = recipe.shape[i];
        const Mat4d frame = Mat4d::from(s.frame.m);
        switch (s.kind) {
            case partshapes::Kind::SPHERES:
                for (int k = 0; k < s.sphereCount; k++) {
                    const partshapes::Sphere& o = s.sphere[k];
                    const Mat4d at = translated<double>(frame, o.offset[0], o.offset[1], o.offset[2]);
                    out.add(SHAPE_SPHERE, at, o.radius * o.scale[0], o.radius * o.scale[1], o.radius * o.scale[2]);
                }
                break;
            case partshapes::Kind::TUBE: {
                const double w = std::fmax(std::fabs(s.base), std::fabs(s.top));
                out.add(SHAPE_CYLINDER, frame, w, w, s.height);
                break;
            }
            case partshapes::Kind::BOX:
                out.add(SHAPE_BOX, frame, s.half[0], s.half[1], s.half[2]);
                break;
        }
    }
}

// [SECTION] ray tests
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
bool hitShape(const Shape& shape, const Mat4d& partToWorld, const PickRay& ray, double& t) {
    Mat4d toUnit;
    if (!invertAffine(partToWorld * shape.toPart, toUnit)) return false;
    const double origin[3] = {ray.origin[0], ray.origin[1], ray.origin[2]};
    const double dir[3] = {ray.dir[0], ray.dir[1], ray.dir[2]};
    double o[3], d[3];
    transform(toUnit, origin, o);
    transform(toUnit, dir, d, 0.0);
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

// [SECTION] clicks

struct ClickState {
    bool pending = false;
    int x = 0, y = 0;
} click;

bool withinSlop(int x, int y) {
    return std::abs(x - click.x) <= CLICK_SLOP_PIXELS && std::abs(y - click.y) <= CLICK_SLOP_PIXELS;
}

}  // namespace

// [SECTION] rays and picking

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
    Mat4d world[BODY_PART_COUNT];
    for (int i = 0; i < count; i++) {
        const Person& p = persons[i];
        skeleton::modelMatrices(p, world);
        for (int idx = 0; idx < BODY_PART_COUNT; idx++) {
            PartShapes shapes;
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

// [SECTION] click test

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
