// shape_batch.h - the fast path's figures gathered into few draws.
//
// Each shape is placed in eye space on the CPU as it comes, with its colour
// on every vertex, and waits in the batch; the batch goes out as a few
// indexed draws, about one per style (texture, culling, opacity), under an
// identity modelview. GL keeps
// the lights in eye space and GL_NORMALIZE is off in this program, so a
// normal sent as M^-T n, unnormalised, is lit exactly as GL lights n drawn
// under M.
//
// Order: shapes go out grouped by style, in the order their groups formed,
// and a shape joins the latest group of its style only when that moves it
// past nothing it must not pass: two opaque shapes may swap (the depth test
// makes their order moot), and so may two whose rectangles on screen do not
// meet; a see-through shape and anything it overlaps keep their order,
// since blending depends on it. Opaque shapes are drawn without blending,
// which at opacity 1 gives the same pixels.
//
// The placement maths is GL-free; the store draws through GL on the GL
// thread. Fixed-size buffers for the whole run: a full batch is sent early.
#pragma once

#include "figure/shape_mesh.h"

namespace shapebatch {

// Where a shape's own coordinates land in eye space: position p goes to
// P p + t, normal n to N n (3 x 3 matrices, column-major).
struct Placement {
    float p[9];
    float t[3];
    float n[9];
    float size;  // the size it was placed at, and the determinant of the
    float det;   // scaled upper 3 x 3 (0: singular)
};

// A shape drawn under `modelview` (column-major, as GL keeps it) after
// translate(offset) and scale(scale * size), where `size` grows the shape's
// positions but not its normals (a quadric's radius): N is the inverse
// transpose of the modelview's upper 3 x 3 times the scale. A singular
// matrix leaves normals as they are (GL's own fallback).
Placement place(const float modelview[16], const float offset[3], const float scale[3], float size);

// n placed: N n.
void placeNormal(const Placement& at, const float n[3], float out[3]);

// How a run of triangles is drawn. `texture` counts only when `textured`;
// `cull`: back faces may be left out (else they are turned to the eye).
struct Style {
    unsigned texture;
    bool textured;
    bool cull;
};

// The projection the shapes added next will be drawn with (column-major),
// for their rectangles on screen.
void setProjection(const float projection[16]);

// Adds a mesh's triangles, placed, in one colour (r, g, b, a).
void addMesh(const shapemesh::Mesh& m, const Placement& at, const float colour[4], Style style);
// Adds one quad (two triangles 0 1 2, 0 2 3) of corners already in the
// shape's coordinates, all with one normal (already placed).
void addQuad(const float corner[4][3], const float texCoord[4][2], const Placement& at,
             const float normal[3], const float colour[4], Style style);

// Draws everything waiting and empties the batch. The GL state it touches
// (modelview, bound texture, texturing, culling, client arrays, current
// colour) is left as it found it.
void flush();

// Vertices waiting to be drawn, and draws sent so far (tests).
int waitingVertices();
int drawsSent();

}  // namespace shapebatch
