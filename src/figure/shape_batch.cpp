// shape_batch.cpp - placing shapes in eye space, and the store that gathers
// them and sends them out in a few draws, by style.
//
// Index:
//   1. Placement
//   2. The store
//   3. Sending
//
// The store is three arrays that grow as shapes come: eye-space vertices,
// triangle indices into them, and runs (a stretch of indices in one style,
// with the cells of a coarse screen grid it covers). Sending puts the runs
// in groups, one draw each, gathers each group's indices into one list and
// draws the groups in order.
#include "figure/shape_batch.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace shapebatch {

// ============================================================== 1. Placement

Placement place(const float modelview[16], const float offset[3], const float scale[3], float size) {
    const float* m = modelview;
    Placement at;
    // B: the upper 3 x 3 times the scale, column by column.
    float b[3][3];
    for (int c = 0; c < 3; c++)
        for (int r = 0; r < 3; r++) {
            b[c][r] = m[c * 4 + r] * scale[c];
            at.p[c * 3 + r] = b[c][r] * size;
        }
    for (int r = 0; r < 3; r++)
        at.t[r] = m[r] * offset[0] + m[4 + r] * offset[1] + m[8 + r] * offset[2] + m[12 + r];
    // B^-T has the columns (b1 x b2, b2 x b0, b0 x b1) / det B.
    auto cross = [](const float* u, const float* v, float* out) {
        out[0] = u[1] * v[2] - u[2] * v[1];
        out[1] = u[2] * v[0] - u[0] * v[2];
        out[2] = u[0] * v[1] - u[1] * v[0];
    };
    cross(b[1], b[2], &at.n[0]);
    cross(b[2], b[0], &at.n[3]);
    cross(b[0], b[1], &at.n[6]);
    const float det = b[0][0] * at.n[0] + b[0][1] * at.n[1] + b[0][2] * at.n[2];
    at.size = size;
    at.det = std::isfinite(det) ? det : 0;
    if (at.det == 0) {
        for (int k = 0; k < 9; k++) at.n[k] = k % 4 == 0 ? 1.0f : 0.0f;
    } else {
        for (float& e : at.n) e /= det;
    }
    return at;
}

void placeNormal(const Placement& at, const float n[3], float out[3]) {
    for (int r = 0; r < 3; r++) out[r] = at.n[r] * n[0] + at.n[3 + r] * n[1] + at.n[6 + r] * n[2];
}

// ============================================================== 2. The store

namespace {

struct EyeVertex {
    float x, y, z;
    float nx, ny, nz;
    float s, t;
    float colour[4];
};

// 16-bit indices into one vertex array; a full store is sent and emptied.
constexpr int kMaxVertices = 65536;
constexpr int kMaxIndices = 4 * kMaxVertices;
constexpr int kMaxRuns = 16384;

// The screen in cells, normalised device coordinates -1..1 each way, for
// telling which runs may meet.
constexpr int kCells = 64;

struct Run {
    Style style;
    bool seeThrough;
    int first, count;  // in `staged`
    int cell[4];       // cells x0, y0, x1, y1 its rectangle on screen covers
};

EyeVertex vertex[kMaxVertices];
std::uint16_t staged[kMaxIndices];
std::uint16_t gathered[kMaxIndices];
Run run[kMaxRuns];
int vertexCount = 0, indexCount = 0, runCount = 0;
float gProjection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
int draws = 0;

bool sameStyle(const Style& a, const Style& b) { return a.textured == b.textured && a.texture == b.texture; }

// Which way the eye sees a triangle, from its eye-space corners: the eye is
// at the origin (perspective) or looks along -z (orthographic). Undecided
// when the triangle is nearly edge-on, or under a projection of another
// kind; GL then decides.
enum Facing { FRONT, BACK, UNDECIDED };
bool gPerspective = false, gOrthographic = false;

Facing facing(const EyeVertex& a, const EyeVertex& b, const EyeVertex& c) {
    const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    const float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    float toward, size;
    if (gPerspective) {
        toward = -(nx * a.x + ny * a.y + nz * a.z);
        size = (std::fabs(nx) + std::fabs(ny) + std::fabs(nz)) * (std::fabs(a.x) + std::fabs(a.y) + std::fabs(a.z));
    } else if (gOrthographic) {
        toward = nz;
        size = std::fabs(nx) + std::fabs(ny) + std::fabs(nz);
    } else {
        return UNDECIDED;
    }
    if (toward > 1e-4f * size) return FRONT;
    if (toward < -1e-4f * size) return BACK;
    return UNDECIDED;
}

// Stages a shape's triangles, its vertices placed from `base` on. Back
// faces of a shape that may be culled are left out here; a shape that must
// not be culled has its back faces turned to face the eye, which gives the
// same pixels in the same order. Draws cull back faces, so an undecided
// triangle of an unculled shape goes both ways round: one of them shows.
void stageTriangles(int base, const std::uint16_t* index, int count, bool cull) {
    for (int i = 0; i < count; i += 3) {
        const auto a = static_cast<std::uint16_t>(base + index[i]), b = static_cast<std::uint16_t>(base + index[i + 1]),
                   c = static_cast<std::uint16_t>(base + index[i + 2]);
        const Facing f = facing(vertex[a], vertex[b], vertex[c]);
        if (f == BACK && cull) continue;
        if (f != BACK || !cull) {
            staged[indexCount++] = a;
            staged[indexCount++] = f == BACK ? c : b;
            staged[indexCount++] = f == BACK ? b : c;
        }
        if (f == UNDECIDED && !cull) {
            staged[indexCount++] = a;
            staged[indexCount++] = c;
            staged[indexCount++] = b;
        }
    }
}

// Where each of a mesh's vertices went in the store (-1: not yet).
int placedAt[shapemesh::kMaxVertices];

// The store's index of mesh vertex i, numbering it on first use.
std::uint16_t use(int base, int i, int& used) {
    if (placedAt[i] < 0) placedAt[i] = used++;
    return static_cast<std::uint16_t>(base + placedAt[i]);
}

// The same for a mesh whose triangle planes are known, decided in the
// shape's own coordinates before anything is placed: which side of a plane
// the eye is on does not change under the placement, only flips with a
// negative determinant. Numbers the vertices the staged faces use in
// placedAt and returns how many, or -1 when the placement cannot be undone
// or the projection is of another kind.
int stageByPlanes(int base, const shapemesh::Mesh& m, const Placement& at, bool cull) {
    if (!m.hasPlanes || at.det == 0 || at.size == 0 || !(gPerspective || gOrthographic)) return -1;
    // The placement's inverse is N^T / size; the eye (or, orthographic, the
    // way towards it) in the shape's own coordinates.
    float e[3];
    for (int c = 0; c < 3; c++) {
        const float* column = &at.n[c * 3];
        e[c] = gPerspective ? -(column[0] * at.t[0] + column[1] * at.t[1] + column[2] * at.t[2]) / at.size
                            : column[2] / at.size;
    }
    const float w = gPerspective ? 1.0f : 0.0f;
    const float flip = (at.det > 0) == (at.size > 0) ? 1.0f : -1.0f;
    // Undecided within this distance of a plane (the box bounds the mesh).
    float reach = 0;
    for (int k = 0; k < 3; k++) reach += std::fmax(std::fabs(m.lo[k]), std::fabs(m.hi[k]));
    const float margin = 1e-4f * (std::fabs(e[0]) + std::fabs(e[1]) + std::fabs(e[2]) + reach * w);
    for (int i = 0; i < m.vertexCount; i++) placedAt[i] = -1;
    int used = 0;
    for (int i = 0; i < m.indexCount; i += 3) {
        const float* plane = m.plane[i / 3];
        const float side = flip * (plane[0] * e[0] + plane[1] * e[1] + plane[2] * e[2] - plane[3] * w);
        const bool front = side > margin, back = side < -margin;
        if (back && cull) continue;
        const std::uint16_t a = use(base, m.index[i], used), b = use(base, m.index[i + 1], used),
                            c = use(base, m.index[i + 2], used);
        // A back face turned to the eye; an undecided one as it winds, and
        // turned too for an unculled shape.
        staged[indexCount++] = a;
        staged[indexCount++] = back ? c : b;
        staged[indexCount++] = back ? b : c;
        if (front || back || cull) continue;
        staged[indexCount++] = a;
        staged[indexCount++] = c;
        staged[indexCount++] = b;
    }
    return used;
}

int cellOf(float ndc) {
    const float c = (ndc + 1) * 0.5f * kCells;
    if (!(c > 0)) return 0;  // a NaN from a degenerate shape too
    return c >= kCells - 1 ? kCells - 1 : static_cast<int>(c);
}

// The cells under a shape whose own coordinates lie in the box lo..hi,
// placed by `at`: the placed box's eye-space bounds, projected corner by
// corner; all cells when a corner lies at or behind the eye.
void coverCells(const Placement& at, const float lo[3], const float hi[3], int cell[4]) {
    float centre[3], half[3];
    for (int r = 0; r < 3; r++) {
        centre[r] = at.t[r];
        half[r] = 0;
        for (int c = 0; c < 3; c++) {
            centre[r] += at.p[c * 3 + r] * (lo[c] + hi[c]) * 0.5f;
            half[r] += std::fabs(at.p[c * 3 + r]) * (hi[c] - lo[c]) * 0.5f;
        }
    }
    const float* m = gProjection;
    float x0 = 1e30f, y0 = 1e30f, x1 = -1e30f, y1 = -1e30f;
    for (int c = 0; c < 8; c++) {
        const float x = centre[0] + (c & 1 ? half[0] : -half[0]);
        const float y = centre[1] + (c & 2 ? half[1] : -half[1]);
        const float z = centre[2] + (c & 4 ? half[2] : -half[2]);
        const float w = m[3] * x + m[7] * y + m[11] * z + m[15];
        if (!(w > 1e-6f)) {
            cell[0] = cell[1] = 0;
            cell[2] = cell[3] = kCells - 1;
            return;
        }
        const float sx = (m[0] * x + m[4] * y + m[8] * z + m[12]) / w;
        const float sy = (m[1] * x + m[5] * y + m[9] * z + m[13]) / w;
        x0 = sx < x0 ? sx : x0;
        y0 = sy < y0 ? sy : y0;
        x1 = sx > x1 ? sx : x1;
        y1 = sy > y1 ? sy : y1;
    }
    cell[0] = cellOf(x0);
    cell[1] = cellOf(y0);
    cell[2] = cellOf(x1);
    cell[3] = cellOf(y1);
}

void send();

void makeRoom(int vertices, int indices) {
    if (vertexCount + vertices > kMaxVertices || indexCount + indices > kMaxIndices || runCount >= kMaxRuns)
        send();
}

// The indices staged from `firstIndex` on become a run: each shape is a run
// of its own, so the cells it covers are its own. Its own coordinates lie
// in lo..hi, placed by `at`.
void closeRun(int firstIndex, Style style, float alpha, const Placement& at, const float lo[3], const float hi[3]) {
    if (indexCount == firstIndex) return;  // every face turned away
    if (!style.textured) style.texture = 0;
    Run& r = run[runCount++];
    r.style = style;
    r.seeThrough = alpha < 1;
    r.first = firstIndex;
    r.count = indexCount - firstIndex;
    coverCells(at, lo, hi, r.cell);
}

EyeVertex& placed(const Placement& at, const float p[3], const float colour[4]) {
    EyeVertex& v = vertex[vertexCount++];
    v.x = at.p[0] * p[0] + at.p[3] * p[1] + at.p[6] * p[2] + at.t[0];
    v.y = at.p[1] * p[0] + at.p[4] * p[1] + at.p[7] * p[2] + at.t[1];
    v.z = at.p[2] * p[0] + at.p[5] * p[1] + at.p[8] * p[2] + at.t[2];
    for (int k = 0; k < 4; k++) v.colour[k] = colour[k];
    return v;
}

// Places mesh vertex `in` as store vertex v.
inline void placeVertex(EyeVertex& v, const shapemesh::Vertex& in, const Placement& a, const float rgba[4]) {
    v.x = a.p[0] * in.x + a.p[3] * in.y + a.p[6] * in.z + a.t[0];
    v.y = a.p[1] * in.x + a.p[4] * in.y + a.p[7] * in.z + a.t[1];
    v.z = a.p[2] * in.x + a.p[5] * in.y + a.p[8] * in.z + a.t[2];
    v.nx = a.n[0] * in.nx + a.n[3] * in.ny + a.n[6] * in.nz;
    v.ny = a.n[1] * in.nx + a.n[4] * in.ny + a.n[7] * in.nz;
    v.nz = a.n[2] * in.nx + a.n[5] * in.ny + a.n[8] * in.nz;
    v.s = in.s;
    v.t = in.t;
    for (int k = 0; k < 4; k++) v.colour[k] = rgba[k];
}

}  // namespace

void setProjection(const float projection[16]) {
    const float* p = projection;
    for (int k = 0; k < 16; k++) gProjection[k] = p[k];
    // gluPerspective's and glOrtho's kinds, not mirrored.
    const bool upright = p[0] > 0 && p[5] > 0 && p[1] == 0 && p[4] == 0;
    gPerspective = upright && p[3] == 0 && p[7] == 0 && p[11] == -1 && p[15] == 0 && p[10] < 0 && p[14] < 0;
    gOrthographic = upright && p[3] == 0 && p[7] == 0 && p[11] == 0 && p[15] == 1 && p[10] < 0;
}

void addMesh(const shapemesh::Mesh& m, const Placement& at, const float colour[4], Style style) {
    if (m.vertexCount == 0) return;
    makeRoom(m.vertexCount, 2 * m.indexCount);
    const int base = vertexCount, first = indexCount;
    // Local copies: the stores below could alias the placement otherwise.
    const Placement a = at;
    const float rgba[4] = {colour[0], colour[1], colour[2], colour[3]};
    EyeVertex* out = &vertex[base];
    const int used = stageByPlanes(base, m, a, style.cull);
    if (used >= 0) {
        // Only the vertices of the faces kept.
        for (int i = 0; i < m.vertexCount; i++)
            if (placedAt[i] >= 0) placeVertex(out[placedAt[i]], m.vertex[i], a, rgba);
        vertexCount += used;
    } else {
        for (int i = 0; i < m.vertexCount; i++) placeVertex(out[i], m.vertex[i], a, rgba);
        vertexCount += m.vertexCount;
        stageTriangles(base, m.index, m.indexCount, style.cull);
    }
    closeRun(first, style, colour[3], at, m.lo, m.hi);
}

void addQuad(const float corner[4][3], const float texCoord[4][2], const Placement& at,
             const float normal[3], const float colour[4], Style style) {
    makeRoom(4, 12);
    const int base = vertexCount;
    for (int k = 0; k < 4; k++) {
        EyeVertex& v = placed(at, corner[k], colour);
        v.nx = normal[0];
        v.ny = normal[1];
        v.nz = normal[2];
        v.s = texCoord[k][0];
        v.t = texCoord[k][1];
    }
    const int first = indexCount;
    static const std::uint16_t quad[6] = {0, 1, 2, 0, 2, 3};
    stageTriangles(base, quad, 6, style.cull);
    float lo[3], hi[3];
    for (int k = 0; k < 3; k++) {
        lo[k] = std::min({corner[0][k], corner[1][k], corner[2][k], corner[3][k]});
        hi[k] = std::max({corner[0][k], corner[1][k], corner[2][k], corner[3][k]});
    }
    closeRun(first, style, colour[3], at, lo, hi);
}

void flush() { send(); }

int waitingVertices() { return vertexCount; }
int drawsSent() { return draws; }

// ============================================================== 3. Sending

namespace {

struct Group {
    Style style;
    bool seeThrough;
    int indexCount, cursor;
};
Group group[kMaxRuns];
int runGroup[kMaxRuns];
// Per cell, the latest group with anything there, and with anything
// see-through there (-1: none).
int lastAny[kCells][kCells];
int lastSeeThrough[kCells][kCells];

// Whether run r may join group g: no later group on its cells that it must
// not pass.
bool mayJoin(const Run& r, int g) {
    for (int y = r.cell[1]; y <= r.cell[3]; y++)
        for (int x = r.cell[0]; x <= r.cell[2]; x++)
            if ((r.seeThrough ? lastAny[y][x] : lastSeeThrough[y][x]) > g) return false;
    return true;
}

void mark(const Run& r, int g) {
    for (int y = r.cell[1]; y <= r.cell[3]; y++)
        for (int x = r.cell[0]; x <= r.cell[2]; x++) {
            if (lastAny[y][x] < g) lastAny[y][x] = g;
            if (r.seeThrough && lastSeeThrough[y][x] < g) lastSeeThrough[y][x] = g;
        }
}

// Puts every run in a draw, the latest of its style and opacity when it may
// join it, a new one otherwise. Returns the number of draws.
int groupRuns() {
    for (int y = 0; y < kCells; y++)
        for (int x = 0; x < kCells; x++) lastAny[y][x] = lastSeeThrough[y][x] = -1;
    int groups = 0;
    for (int r = 0; r < runCount; r++) {
        const Run& one = run[r];
        int g = groups - 1;
        while (g >= 0 && !sameStyle(group[g].style, one.style)) g--;
        if (g < 0 || !mayJoin(one, g)) {
            g = groups++;
            group[g] = {one.style, false, 0, 0};
        }
        group[g].seeThrough = group[g].seeThrough || one.seeThrough;
        group[g].indexCount += one.count;
        runGroup[r] = g;
        mark(one, g);
    }
    return groups;
}

void setCapability(GLenum cap, bool on) {
    if (on) glEnable(cap);
    else glDisable(cap);
}

// Draws everything waiting and empties the store.
void send() {
    if (runCount == 0) return;
    const int groups = groupRuns();
    int offset = 0;
    for (int g = 0; g < groups; g++) {
        group[g].cursor = offset;
        offset += group[g].indexCount;
    }
    for (int r = 0; r < runCount; r++) {
        Group& g = group[runGroup[r]];
        std::memcpy(&gathered[g.cursor], &staged[run[r].first], run[r].count * sizeof staged[0]);
        g.cursor += run[r].count;
    }

    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    const bool texturing = glIsEnabled(GL_TEXTURE_2D), culling = glIsEnabled(GL_CULL_FACE);
    const bool blending = glIsEnabled(GL_BLEND);
    float colour[4], normal[3], texCoord[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);

    glPushMatrix();
    glLoadIdentity();
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    const GLsizei stride = sizeof(EyeVertex);
    glVertexPointer(3, GL_FLOAT, stride, &vertex[0].x);
    glNormalPointer(GL_FLOAT, stride, &vertex[0].nx);
    glTexCoordPointer(2, GL_FLOAT, stride, &vertex[0].s);
    glColorPointer(4, GL_FLOAT, stride, vertex[0].colour);

    if (!culling) glEnable(GL_CULL_FACE);
    bool texturingNow = texturing, blendingNow = blending;
    GLuint textureNow = static_cast<GLuint>(boundTexture);
    offset = 0;
    for (int g = 0; g < groups; g++) {
        const Style& style = group[g].style;
        if (style.textured != texturingNow) setCapability(GL_TEXTURE_2D, texturingNow = style.textured);
        if (style.textured && style.texture != textureNow) glBindTexture(GL_TEXTURE_2D, textureNow = style.texture);
        const bool blend = blending && group[g].seeThrough;
        if (blend != blendingNow) setCapability(GL_BLEND, blendingNow = blend);
        glDrawElements(GL_TRIANGLES, group[g].indexCount, GL_UNSIGNED_SHORT, &gathered[offset]);
        offset += group[g].indexCount;
        draws++;
    }

    glPopClientAttrib();
    glPopMatrix();
    if (texturingNow != texturing) setCapability(GL_TEXTURE_2D, texturing);
    if (textureNow != static_cast<GLuint>(boundTexture)) glBindTexture(GL_TEXTURE_2D, boundTexture);
    if (!culling) glDisable(GL_CULL_FACE);
    if (blendingNow != blending) setCapability(GL_BLEND, blending);
    // Arrays leave the current attributes undefined: put them back.
    glColor4fv(colour);
    glNormal3fv(normal);
    glTexCoord4fv(texCoord);
    vertexCount = indexCount = runCount = 0;
}

}  // namespace

}  // namespace shapebatch
