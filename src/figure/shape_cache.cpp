// shape_cache.cpp - the figures' quadric shapes and boxes for the reference
// and the fast drawing paths: display lists per size and tessellation, or
// the batch. The pass's record (figure_pass.h) says which.
//
// Sections (search "[SECTION]"):
//   The list tables
//   Detail and culling
//   Shapes into the batch
//   Spheres, cylinders and boxes
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

#include "figure/part_shapes.h"
#include "figure/shape_batch.h"
#include "figure/shape_mesh.h"
#include "figure/textured_box.h"
#include "gfx/texture_loader.h"

namespace {

// [SECTION] The list tables

// What a list holds. A pair of spheres is named by its recipe's pair and
// two sizes, which fix both spheres; its two tessellations are packed.
enum class ListKind { SPHERE, TUBE, LIMB, EYES };

struct ShapeKey {
    ListKind kind;
    double a, b, c;
    int slices, stacks;
    bool outline;  // quads for wireframe, else triangles
    bool operator==(const ShapeKey& o) const {
        return kind == o.kind && a == o.a && b == o.b && c == o.c && slices == o.slices &&
               stacks == o.stacks && outline == o.outline;
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
    std::size_t h = (static_cast<std::size_t>(key.kind) * 2 + key.outline) * 1000003u;
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



// [SECTION] Detail and culling

constexpr double kPi = 3.14159265358979323846;

FigureDrawState& pass = figureDrawState();

void unculled() {
    if (pass.inFigure) shapes::setCull(false);
}

shapemesh::Detail detail(int slices, int stacks, double across, double along) {
    // Wireframe shows the tessellation itself: the reference's, always.
    if (!pass.inFigure || pass.pixelsPerUnit <= 0 || pass.outline) return {slices, stacks};
    return shapemesh::detailFor(slices, stacks, static_cast<float>(std::fabs(across)) * pass.pixelsPerUnit,
                                static_cast<float>(std::fabs(along)) * pass.pixelsPerUnit, pass.maxErrorPx);
}

// [SECTION] Shapes into the batch

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
    c.style = {static_cast<unsigned>(texture), glIsEnabled(GL_TEXTURE_2D) == GL_TRUE, pass.cullOn};
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
    pass.normal[0] = 0;
    pass.normal[1] = static_cast<float>(std::sin(a));
    pass.normal[2] = static_cast<float>(-std::cos(a));
}

void normalAfterCylinder(double base, double top, double height) {
    const double slope = std::sqrt((base - top) * (base - top) + height * height);
    pass.normal[0] = 0;
    pass.normal[1] = static_cast<float>(slope > 0 ? height / slope : 1);
    pass.normal[2] = static_cast<float>(slope > 0 ? (base - top) / slope : 0);
}

// A mesh into GL, or its quads where a figure is drawn in wireframe.
void emit(const shapemesh::Mesh& m) { shapes::emitMesh(m, pass.outline); }

}  // namespace

void shapes::emitMesh(const shapemesh::Mesh& m, bool asQuads) {
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    const GLsizei stride = sizeof(shapemesh::Vertex);
    glVertexPointer(3, GL_FLOAT, stride, &m.vertex[0].x);
    glNormalPointer(GL_FLOAT, stride, &m.vertex[0].nx);
    glTexCoordPointer(2, GL_FLOAT, stride, &m.vertex[0].s);
    if (asQuads) {
        static shapemesh::Faces faces;
        shapemesh::facesOf(m, faces);
        glDrawElements(GL_QUADS, faces.quadIndexCount, GL_UNSIGNED_SHORT, faces.quad);
        glDrawElements(GL_TRIANGLES, faces.triangleIndexCount, GL_UNSIGNED_SHORT, faces.triangle);
    } else {
        glDrawElements(GL_TRIANGLES, m.indexCount, GL_UNSIGNED_SHORT, m.index);
    }
    glPopClientAttrib();
}

namespace shapes {

// [SECTION] Spheres, cylinders and boxes

void sphere(GLUquadric* q, double r, int slices, int stacks, double across, double along) {
    if (pass.reference) {
        cachedShape(referenceTable, {ListKind::SPHERE, r, 0, 0, slices, stacks, false},
                    [&] { gluSphere(q, r, slices, stacks); });
        return;
    }
    const shapemesh::Detail d = detail(slices, stacks, r * across, r * along);
    if (pass.inFigure) setCull(pass.cullAllowed && r > 0 && across > 0 && along > 0);
    if (pass.batching) {
        batchSphere(current(), r, d, kNoOffset, kNoScale);
        normalAfterSphere(stacks);
        return;
    }
    cachedShape(fastTable, {ListKind::SPHERE, r, 0, 0, d.slices, d.stacks, pass.outline}, [&] {
        shapemesh::buildSphere(scratch, r, d.slices, d.stacks);
        emit(scratch);
    });
}

void cylinder(GLUquadric* q, double base, double top, double height, int slices, int stacks) {
    if (pass.reference) {
        cachedShape(referenceTable, {ListKind::TUBE, base, top, height, slices, stacks, false},
                    [&] { gluCylinder(q, base, top, height, slices, stacks); });
        return;
    }
    const double extent = std::fmax(std::fabs(base), std::fabs(top));
    const shapemesh::Detail d = detail(slices, stacks, extent, extent);
    if (pass.inFigure) setCull(false);
    if (pass.batching) {
        const Current c = current();
        shapemesh::buildCylinder(scratch, base, top, height, d.slices, d.stacks);
        shapebatch::addMesh(scratch, shapebatch::place(c.modelview, kNoOffset, kNoScale, 1), c.colour, c.style);
        normalAfterCylinder(base, top, height);
        return;
    }
    // Open tubes are few and never culled: GLU's own, only tessellated by size.
    cachedShape(fastTable, {ListKind::TUBE, base, top, height, d.slices, d.stacks, false},
                [&] { gluCylinder(q, base, top, height, d.slices, d.stacks); });
}

void spherePair(GLUquadric* q, const partshapes::Shape& pair) {
    const partshapes::Sphere* s = pair.sphere;
    if (pass.reference) {
        for (int k = 0; k < 2; k++) {
            const float* o = s[k].offset;
            const float* f = s[k].scale;
            const bool moved = o[0] != 0 || o[1] != 0 || o[2] != 0 || f[0] != 1 || f[1] != 1 || f[2] != 1;
            if (moved) {
                glPushMatrix();
                glTranslatef(o[0], o[1], o[2]);
                glScalef(f[0], f[1], f[2]);
            }
            sphere(q, s[k].radius, s[k].slices, s[k].stacks, s[k].across, s[k].along);
            if (moved) glPopMatrix();
        }
        return;
    }
    shapemesh::Detail d[2];
    bool closed = pass.cullAllowed;
    for (int k = 0; k < 2; k++) {
        d[k] = detail(s[k].slices, s[k].stacks, s[k].radius * s[k].across, s[k].radius * s[k].along);
        closed = closed && s[k].radius > 0 && s[k].across > 0 && s[k].along > 0;
    }
    if (pass.inFigure) setCull(closed);
    if (pass.batching) {
        const Current c = current();
        for (int k = 0; k < 2; k++) batchSphere(c, s[k].radius, d[k], s[k].offset, s[k].scale);
        normalAfterSphere(s[1].stacks);
        return;
    }
    const ListKind kind = pair.pair == partshapes::Pair::EYES ? ListKind::EYES : ListKind::LIMB;
    const ShapeKey key{kind, pair.pairSize[0], pair.pairSize[1], 0, d[0].slices * 16 + d[1].slices,
                       d[0].stacks * 16 + d[1].stacks, pass.outline};
    cachedShape(fastTable, key, [&] {
        scratch.vertexCount = scratch.indexCount = 0;
        for (int k = 0; k < 2; k++)
            shapemesh::appendSphere(scratch, s[k].radius, d[k].slices, d[k].stacks, s[k].offset, s[k].scale);
        emit(scratch);
    });
}

void box(const TexturedBox& b) {
    unculled();
    if (!pass.batching) {
        b.draw();
        return;
    }
    const Current c = current();
    const float scale[3] = {b.scaleX, b.scaleY, b.scaleZ};
    const shapebatch::Placement at = shapebatch::place(c.modelview, kNoOffset, scale, 1);
    float normal[3];
    shapebatch::placeNormal(at, pass.normal, normal);
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
