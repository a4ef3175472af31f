// shape_cache.h - the spheres and cylinders of the figures, compiled once
// per size into display lists and replayed, along two paths:
//
//   the reference path  GLU's own quadrics at the full tessellation, every
//                       face drawn: the drawing as first built, kept so any
//                       frame can be drawn both ways (tests, benchmarks);
//   the fast path       indexed meshes without zero-area triangles, closed
//                       shapes drawn with back faces culled, tessellated for
//                       the size the shape has on screen.
//
// The fast path is the default. The figure drawing pass (figure_pass.h)
// says which path, how large a scene unit is on screen and how far a facet
// may stray from the round outline; without that (a drawer called on its
// own) shapes get full detail. Inside a filled figure the fast path gathers
// the shapes into the batch (shape_batch.h) and draws them a few calls per
// copy of the figure. In wireframe the fast path's spheres go out as quads,
// as GLU's do, so no facet shows a diagonal the reference drawing lacks.
// GL thread only; the cache lives for the whole run and is never freed.
#pragma once

#include "figure/figure_pass.h"

class TexturedBox;
struct GLUquadric;
namespace shapemesh {
struct Mesh;
}
namespace partshapes {
struct Shape;
}

namespace shapes {

// A sphere of radius r, as gluSphere draws it. `across` and `along` are the
// factors of a scale the caller applied before it (ellipsoids), round the
// axis and along it, so the size on screen is known; a negative one turns
// the shape inside out, which is drawn unculled.
void sphere(GLUquadric* q, double r, int slices, int stacks, double across = 1, double along = 1);
// An open tube, as gluCylinder draws it: never culled, its inside shows.
void cylinder(GLUquadric* q, double base, double top, double height, int slices, int stacks);
// The two spheres of a recipe shape (a limb's joint ball and body, the
// eyes), in the current matrix: one mesh on the fast path.
void spherePair(GLUquadric* q, const partshapes::Shape& pair);
// Sends a mesh as indexed triangles from client arrays, in the current
// matrix, colour and texture; `asQuads` sends the quads the triangles
// pair into as quads (wireframe), the rest as triangles.
void emitMesh(const shapemesh::Mesh& m, bool asQuads = false);
// A textured box, as TexturedBox::draw draws it (never culled): with the
// normal the last quadric left current, and its last face's texture left
// bound.
void box(const TexturedBox& b);

}  // namespace shapes
