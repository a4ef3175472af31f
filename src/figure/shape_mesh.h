// shape_mesh.h - sphere and tube meshes for the fast figure drawing, and
// the choice of how finely to tessellate a shape for its size on screen.
//
// The meshes lay out their vertices exactly as the GLU quadrics the figures
// were designed with (same positions, normals and texture coordinates at the
// same tessellation), so a part looks the same either way. What differs:
// every vertex is stored once and referenced by index, the sphere's pole rows
// are single triangles instead of quads with a zero-area half, and every
// triangle winds counter-clockwise seen from outside, so closed shapes can be
// drawn with back faces culled.
//
// GL-free: plain arrays, no allocation. Axis conventions are the quadrics':
// the shape's axis is +z; slice j sits at angle 2*pi*j/slices with
// x = -sin, y = cos; s runs 0..1 with the slices, t 0..1 from -z to +z.
#pragma once

#include <cstdint>

namespace shapemesh {

constexpr int kMaxSlices = 10;
constexpr int kMaxStacks = 6;
// Room for two shapes: a limb's joint ball and body, or the two eyes, go
// out as one mesh.
constexpr int kMaxVertices = 2 * (kMaxSlices + 1) * (kMaxStacks + 1);
constexpr int kMaxIndices = 2 * kMaxSlices * kMaxStacks * 6;

// One vertex: position, unit normal, texture coordinate.
struct Vertex {
    float x, y, z;
    float nx, ny, nz;
    float s, t;
};

struct Mesh {
    Vertex vertex[kMaxVertices];
    std::uint16_t index[kMaxIndices];  // triangles
    int vertexCount = 0;
    int indexCount = 0;
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};  // the box round its vertices
    // Per triangle, its plane: unit normal (the way it winds) and offset,
    // n . p = d on it. Only when computePlanes has filled them.
    float plane[kMaxIndices / 3][4];
    bool hasPlanes = false;
};

// Tessellations beyond the limits above are clamped to them; fewer than 3
// slices or 2 stacks are raised to that.
void buildSphere(Mesh& m, double radius, int slices, int stacks);
// Adds a sphere moved and scaled per axis (scale first, all factors
// nonzero) to what the mesh holds. Normals are divided by the scale without
// renormalising, as GL's normal transform would leave them had the scale
// been on the matrix, so the shading is the same.
void appendSphere(Mesh& m, double radius, int slices, int stacks, const float offset[3],
                  const float scale[3]);
// An open tube from radius `base` at z = 0 to `top` at z = `height`, as the
// quadric's cylinder lays it out: slice j at x = sin, y = cos of 2*pi*j/slices,
// s = 1 - j/slices, and each quad split along the same diagonal. Replaces
// what the mesh held; tessellation clamped as for spheres (1 stack allowed).
void buildCylinder(Mesh& m, double base, double top, double height, int slices, int stacks);

// A mesh's faces as GLU's quadrics send them, for wireframe: each pair of
// triangles a band's quad was split into as that quad (corners in the
// quad's own order), and the pole rows' triangles alone.
struct Faces {
    std::uint16_t quad[kMaxIndices];
    std::uint16_t triangle[kMaxIndices];
    int quadIndexCount = 0, triangleIndexCount = 0;
};
void facesOf(const Mesh& m, Faces& out);

// Fills the triangle planes of a finished mesh (a zero-area triangle gets
// a zero normal).
void computePlanes(Mesh& m);

// A tessellation level for a shape whose full detail is `slices` x `stacks`.
struct Detail {
    int slices, stacks;
};

// The coarsest tessellation, never finer than the full one, whose facets
// stray from the true outline by at most `maxErrorPx` pixels, for a shape
// `acrossPx` pixels in radius round its axis and `alongPx` along it (they
// differ for a stretched sphere). A large enough shape keeps the full detail.
Detail detailFor(int slices, int stacks, float acrossPx, float alongPx, float maxErrorPx);

}  // namespace shapemesh
