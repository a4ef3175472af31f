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
// The fast path is the default. The figure drawing tells the cache how large
// a scene unit is on screen and how far a facet may stray from the round
// outline; without that (a drawer called on its own) shapes get full detail.
// Inside a filled figure the fast path gathers the shapes into the batch
// (shape_batch.h) and draws them a few calls per copy of the figure.
// GL thread only; the cache lives for the whole run and is never freed.
#pragma once

class TexturedBox;
struct GLUquadric;
namespace shapemesh {
struct Mesh;
}

void setReferenceDrawing(bool on);
bool referenceDrawing();

namespace shapes {

// A sphere of radius r, as gluSphere draws it. `across` and `along` are the
// factors of a scale the caller applied before it (ellipsoids), round the
// axis and along it, so the size on screen is known; a negative one turns
// the shape inside out, which is drawn unculled.
void sphere(GLUquadric* q, double r, int slices, int stacks, double across = 1, double along = 1);
// An open tube, as gluCylinder draws it: never culled, its inside shows.
void cylinder(GLUquadric* q, double base, double top, double height, int slices, int stacks);
// A limb along +z: a joint ball of radius r, and an ellipsoid 1.2 r across
// from -0.1 l to 1.1 l. The fast path sends both as one mesh.
void limb(GLUquadric* q, double r, double l);
// The two eyes, spheres of 0.24 r at (+-0.32 r, 0.1 r, 0.9 r): one mesh on
// the fast path.
void eyes(GLUquadric* q, double r);
// Sends a mesh as indexed triangles from client arrays, in the current
// matrix, colour and texture.
void emitMesh(const shapemesh::Mesh& m);
// A textured box, as TexturedBox::draw draws it (never culled): with the
// normal the last quadric left current, and its last face's texture left
// bound.
void box(const TexturedBox& b);

// The figure drawing's frame around one figure: whether it is filled (closed
// shapes may be culled, shapes go into the batch; not in wireframe) and the
// detail for what follows. endFigure leaves culling off and, unless figures
// are held, the figure drawn.
void beginFigure(bool filled);
void setDetail(float pixelsPerUnit, float maxErrorPx);
void endFigure();

// Around every figure of a pass: the figures wait in the batch and go out
// together, in a few draws for all. endFigures draws what waits.
void beginFigures();
void endFigures();

}  // namespace shapes
