// shape_cache.cpp - the figures' quadric shapes and boxes for the reference
// and the fast drawing paths: display lists per size and tessellation, or
// the batch.
//
// Index:
//   1. The list tables
//   2. Drawing state around a figure (culling, detail, batching)
//   3. Shapes into the batch
//   4. Spheres, cylinders and boxes
//
// Each distinct shape is compiled on first use and replayed afterwards. A
// full table (or no list names left) draws directly, so nothing breaks, it
// only gets slower. Fast meshes are built in one scratch mesh or kept per
// tessellation as unit spheres: nothing is allocated per frame.
//
// A filled figure on the fast path goes into the batch (shape_batch.h)
// instead of the lists; wireframe keeps the lists, whose quads show as quads.
#include "figure/shape_cache.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>

#include "figure/shape_batch.h"
#include "figure/shape_mesh.h"
#include "figure/textured_box.h"
#include "gfx/texture_loader.h"

namespace {

// ============================================================== 1. The list tables

bool gReference = false;

struct ShapeKey {
    int kind;  // 0 sphere, 1 cylinder
    double a, b, c;
    int slices, stacks;
    bool operator==(const ShapeKey& o) const {
        return kind == o.kind && a == o.a && b == o.b && c == o.c && slices == o.slices &&
               stacks == o.stacks;
    }
};

struct ShapeSlot {
    ShapeKey key;
    GLuint list = 0;
};

// Distinct sizes: parts x genders x scales in use, times the tessellations.
constexpr int kTableSize = 2048;
ShapeSlot referenceTable[kTableSize];
ShapeSlot fastTable[kTableSize];

std::size_t hashKey(const ShapeKey& key) {
    std::size_t h = static_cast<std::size_t>(key.kind) * 1000003u;
    for (double v : {key.a, key.b, key.c}) h = h * 31 + std::hash<double>()(v);
    return h * 31 + static_cast<std::size_t>(key.slices * 64 + key.stacks);
}

// Replays the list for `key`, or compiles it from `emit` first.
template <typename Emit>
void cachedShape(ShapeSlot* table, const ShapeKey& key, Emit emit) {
    const std::size_t h = hashKey(key);
    for (int probe = 0; probe < 8; probe++) {
        ShapeSlot& slot = table[(h + probe) % kTableSize];
        if (slot.list != 0 && slot.key == key) {
            glCallList(slot.list);
            return;
        }
        if (slot.list == 0) {
            const GLuint list = glGenLists(1);
            if (list == 0) break;
            slot.key = key;
            slot.list = list;
            glNewList(list, GL_COMPILE);
            emit();
            glEndList();
            glCallList(list);
            return;
        }
    }
    emit();
}

shapemesh::Mesh scratch;



// ============================================================== 2. Drawing state around a figure

constexpr double kPi = 3.14159265358979323846;

bool gInFigure = false;
bool gCullAllowed = false;
bool gCullOn = false;  // wanted for what follows; in the batch, per draw
bool gBatching = false;
bool gHolding = false;  // figures wait in the batch for later ones
float gPixelsPerUnit = 0;  // 0: unknown, full detail
float gMaxErrorPx = 0;
// GL's current normal as the reference drawing would leave it: boxes send
// no normals of their own and are lit with it.
float gNormal[3] = {0, 0, 1};

void setCull(bool on) {
    if (on == gCullOn) return;
    gCullOn = on;
    if (gBatching) return;
    if (on) glEnable(GL_CULL_FACE);
    else glDisable(GL_CULL_FACE);
}

void unculled() {
    if (gInFigure) setCull(false);
}

shapemesh::Detail detail(int slices, int stacks, double across, double along) {
    if (!gInFigure || gPixelsPerUnit <= 0) return {slices, stacks};
    return shapemesh::detailFor(slices, stacks, static_cast<float>(std::fabs(across)) * gPixelsPerUnit,
                                static_cast<float>(std::fabs(along)) * gPixelsPerUnit, gMaxErrorPx);
}

// ============================================================== 3. Shapes into the batch

// What GL would draw the next shape with, read back once per shape.
struct Current {
    float modelview[16];
    float colour[4];
    shapebatch::Style style;
};

Current current() {
    Current c;
    glGetFloatv(GL_MODELVIEW_MATRIX, c.modelview);
    glGetFloatv(GL_CURRENT_COLOR, c.colour);
    GLint texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    c.style = {static_cast<unsigned>(texture), glIsEnabled(GL_TEXTURE_2D) == GL_TRUE, gCullOn};
    return c;
}

constexpr float kNoOffset[3] = {0, 0, 0};
constexpr float kNoScale[3] = {1, 1, 1};

// Spheres of radius 1 per tessellation; a radius is a size on the placement.
shapemesh::Mesh unitSpheres[shapemesh::kMaxSlices - 2][shapemesh::kMaxStacks - 1];
bool unitSphereBuilt[shapemesh::kMaxSlices - 2][shapemesh::kMaxStacks - 1];

const shapemesh::Mesh& unitSphere(shapemesh::Detail d) {
    const int i = std::max(3, std::min(shapemesh::kMaxSlices, d.slices)) - 3;
    const int k = std::max(2, std::min(shapemesh::kMaxStacks, d.stacks)) - 2;
    if (!unitSphereBuilt[i][k]) {
        shapemesh::buildSphere(unitSpheres[i][k], 1.0, i + 3, k + 2);
        shapemesh::computePlanes(unitSpheres[i][k]);
        unitSphereBuilt[i][k] = true;
    }
    return unitSpheres[i][k];
}

void batchSphere(const Current& c, double r, shapemesh::Detail d, const float offset[3], const float scale[3]) {
    shapebatch::addMesh(unitSphere(d), shapebatch::place(c.modelview, offset, scale, static_cast<float>(r)),
                        c.colour, c.style);
}

// The quadrics end on the vertex of slice 0 next to the -z pole (spheres)
// or on the +z rim (tubes); that vertex's normal stays current.
void normalAfterSphere(int stacks) {
    const double a = kPi / std::max(1, stacks);
    gNormal[0] = 0;
    gNormal[1] = static_cast<float>(std::sin(a));
    gNormal[2] = static_cast<float>(-std::cos(a));
}

void normalAfterCylinder(double base, double top, double height) {
    const double slope = std::sqrt((base - top) * (base - top) + height * height);
    gNormal[0] = 0;
    gNormal[1] = static_cast<float>(slope > 0 ? height / slope : 1);
    gNormal[2] = static_cast<float>(slope > 0 ? (base - top) / slope : 0);
}

}  // namespace

void setReferenceDrawing(bool on) { gReference = on; }

void shapes::emitMesh(const shapemesh::Mesh& m) {
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    const GLsizei stride = sizeof(shapemesh::Vertex);
    glVertexPointer(3, GL_FLOAT, stride, &m.vertex[0].x);
    glNormalPointer(GL_FLOAT, stride, &m.vertex[0].nx);
    glTexCoordPointer(2, GL_FLOAT, stride, &m.vertex[0].s);
    glDrawElements(GL_TRIANGLES, m.indexCount, GL_UNSIGNED_SHORT, m.index);
    glPopClientAttrib();
}
bool referenceDrawing() { return gReference; }

namespace shapes {

void beginFigure(bool filled) {
    gInFigure = true;
    gCullAllowed = filled && !gReference;
    gBatching = filled && !gReference;
    gCullOn = glIsEnabled(GL_CULL_FACE);
    gPixelsPerUnit = 0;
    if (!gBatching) {
        shapebatch::flush();  // what waits goes out before anything drawn directly
        return;
    }
    if (gCullOn) glDisable(GL_CULL_FACE);  // the batch culls per draw
    gCullOn = false;
    glGetFloatv(GL_CURRENT_NORMAL, gNormal);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    shapebatch::setProjection(projection);
}

void setDetail(float pixelsPerUnit, float maxErrorPx) {
    gPixelsPerUnit = pixelsPerUnit;
    gMaxErrorPx = maxErrorPx;
}

void endFigure() {
    setCull(false);
    if (gBatching) {
        if (!gHolding) shapebatch::flush();
        glNormal3fv(gNormal);
    }
    gInFigure = false;
    gCullAllowed = false;
    gBatching = false;
    gPixelsPerUnit = 0;
}

void beginFigures() { gHolding = true; }

void endFigures() {
    gHolding = false;
    shapebatch::flush();
}

// ============================================================== 4. Spheres, cylinders and boxes

void sphere(GLUquadric* q, double r, int slices, int stacks, double across, double along) {
    if (gReference) {
        cachedShape(referenceTable, {0, r, 0, 0, slices, stacks}, [&] { gluSphere(q, r, slices, stacks); });
        return;
    }
    const shapemesh::Detail d = detail(slices, stacks, r * across, r * along);
    if (gInFigure) setCull(gCullAllowed && r > 0 && across > 0 && along > 0);
    if (gBatching) {
        batchSphere(current(), r, d, kNoOffset, kNoScale);
        normalAfterSphere(stacks);
        return;
    }
    cachedShape(fastTable, {0, r, 0, 0, d.slices, d.stacks}, [&] {
        shapemesh::buildSphere(scratch, r, d.slices, d.stacks);
        shapes::emitMesh(scratch);
    });
}

void cylinder(GLUquadric* q, double base, double top, double height, int slices, int stacks) {
    if (gReference) {
        cachedShape(referenceTable, {1, base, top, height, slices, stacks},
                    [&] { gluCylinder(q, base, top, height, slices, stacks); });
        return;
    }
    const double extent = std::fmax(std::fabs(base), std::fabs(top));
    const shapemesh::Detail d = detail(slices, stacks, extent, extent);
    if (gInFigure) setCull(false);
    if (gBatching) {
        const Current c = current();
        shapemesh::buildCylinder(scratch, base, top, height, d.slices, d.stacks);
        shapebatch::addMesh(scratch, shapebatch::place(c.modelview, kNoOffset, kNoScale, 1), c.colour, c.style);
        normalAfterCylinder(base, top, height);
        return;
    }
    // Open tubes are few and never culled: GLU's own, only tessellated by size.
    cachedShape(fastTable, {1, base, top, height, d.slices, d.stacks},
                [&] { gluCylinder(q, base, top, height, d.slices, d.stacks); });
}

// Two spheres as one mesh, each with its own detail; the key packs both.
void sphereTwins(int kind, double a, double b, const shapemesh::Detail d[2], const double radius[2],
                 const float offset[2][3], const float scale[2][3]) {
    if (gInFigure) setCull(gCullAllowed && a > 0 && b > 0);
    if (gBatching) {
        const Current c = current();
        for (int k = 0; k < 2; k++) batchSphere(c, radius[k], d[k], offset[k], scale[k]);
        normalAfterSphere(6);
        return;
    }
    const ShapeKey key{kind, a, b, 0, d[0].slices * 16 + d[1].slices, d[0].stacks * 16 + d[1].stacks};
    cachedShape(fastTable, key, [&] {
        scratch.vertexCount = scratch.indexCount = 0;
        for (int k = 0; k < 2; k++)
            shapemesh::appendSphere(scratch, radius[k], d[k].slices, d[k].stacks, offset[k], scale[k]);
        shapes::emitMesh(scratch);
    });
}

void limb(GLUquadric* q, double r, double l) {
    const float R = static_cast<float>(r), L = static_cast<float>(l);
    if (gReference || !(L > 0)) {
        sphere(q, r, 10, 6);
        if (!(L > 0)) return;
        glPushMatrix();
        glTranslatef(0, 0, 0.5f * L);
        glScalef(2 * R / L, 2 * R / L, 1);
        sphere(q, 0.6 * L, 10, 6, 2 * R / L, 1);
        glPopMatrix();
        return;
    }
    const float across = 2 * R / L;
    const shapemesh::Detail d[2] = {detail(10, 6, r, r), detail(10, 6, 1.2 * r, 0.6 * l)};
    const double radius[2] = {r, 0.6 * L};
    const float offset[2][3] = {{0, 0, 0}, {0, 0, 0.5f * L}};
    const float scale[2][3] = {{1, 1, 1}, {across, across, 1}};
    sphereTwins(2, r, l, d, radius, offset, scale);
}

void eyes(GLUquadric* q, double r) {
    const float R = static_cast<float>(r);
    const float first[3] = {0.32f * R, 0.1f * R, 0.9f * R};
    if (gReference) {
        glTranslatef(first[0], first[1], first[2]);
        sphere(q, 0.24 * R, 10, 6);
        glTranslatef(-0.64f * R, 0, 0);
        sphere(q, 0.24 * R, 10, 6);
        return;
    }
    const shapemesh::Detail d = detail(10, 6, 0.24 * R, 0.24 * R);
    const shapemesh::Detail both[2] = {d, d};
    const double radius[2] = {0.24 * R, 0.24 * R};
    const float offset[2][3] = {{first[0], first[1], first[2]}, {first[0] - 0.64f * R, first[1], first[2]}};
    const float scale[2][3] = {{1, 1, 1}, {1, 1, 1}};
    sphereTwins(3, r, 1, both, radius, offset, scale);
}

void box(const TexturedBox& b) {
    unculled();
    if (!gBatching) {
        b.draw();
        return;
    }
    const Current c = current();
    const float scale[3] = {b.scaleX, b.scaleY, b.scaleZ};
    const shapebatch::Placement at = shapebatch::place(c.modelview, kNoOffset, scale, 1);
    float normal[3];
    shapebatch::placeNormal(at, gNormal, normal);
    for (int f = 0; f < 6; f++) {
        shapebatch::Style style = c.style;
        if (b.useFaceTextures) style.texture = slotTexture(b.faceTexture[f]);
        float corner[4][3], texCoord[4][2];
        TexturedBox::face(f, corner, texCoord);
        shapebatch::addQuad(corner, texCoord, at, normal, c.colour, style);
    }
    if (b.useFaceTextures) bindTextureSlot(b.faceTexture[5]);  // as the box leaves it
}

}  // namespace shapes
