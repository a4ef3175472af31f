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
// GL thread only; the cache lives for the whole run and is never freed.
#pragma once

struct GLUquadric;

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
// Call before drawing anything flat or open (boxes): culling off.
void unculled();

// The figure drawing's frame around one figure: whether closed shapes may be
// culled, and the detail for what follows. endFigure leaves culling off.
void beginFigure(bool cull);
void setDetail(float pixelsPerUnit, float maxErrorPx);
void endFigure();

}  // namespace shapes
