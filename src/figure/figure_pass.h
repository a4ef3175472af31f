// figure_pass.h - the figure drawing pass: which path draws the figures,
// and what the figure being drawn allows its shapes. One record holds it.
//
// The rule, from display.cpp down to the shape drawers (shape_cache.cpp):
//
//   shapes::beginFigures()              every figure of a frame
//     shapes::beginFigure(filled)       one figure, all its copies
//       shapes::setDetail(ppu, error)   before each copy on the fast path
//       ... shapes::sphere, cylinder, spherePair, box ...
//     shapes::endFigure()
//   shapes::endFigures()                what the batch holds goes out
//
// A shape drawn outside a figure (a test drawing one alone) gets the full
// tessellation, straight into GL. GL thread only.
#pragma once

struct FigureDrawState {
    // The reference path (GLU's own quadrics, every face) instead of the
    // fast one. Set by setReferenceDrawing (tests, benchmarks); kept by the
    // reset of the rest.
    bool reference = false;
    // Between beginFigure and endFigure.
    bool inFigure = false;
    // A filled figure on the fast path: closed shapes may be culled, and
    // the shapes go into the batch (shape_batch.h) instead of GL.
    bool cullAllowed = false;
    bool batching = false;
    // A figure in wireframe: meshes go out as the quads GLU draws, not
    // their triangles, whose diagonals would show.
    bool outline = false;
    // Culling wanted for the shapes that follow (set per shape; in the
    // batch it is sent per draw, not switched in GL).
    bool cullOn = false;
    // Between beginFigures and endFigures: figures wait in the batch for
    // the later ones, and go out together.
    bool holding = false;
    // Set by setDetail: a scene unit in pixels on screen (0: unknown, full
    // tessellation) and how far a facet may stray from the outline.
    float pixelsPerUnit = 0;
    float maxErrorPx = 0;
    // GL's current normal as the reference drawing would leave it: boxes
    // send no normals of their own and are lit with it. Kept by the shape
    // drawers while batching, handed back to GL at endFigure.
    float normal[3] = {0, 0, 1};
};

// The one record; the pass functions below and the shape drawers change it.
FigureDrawState& figureDrawState();
// Everything back as at start, the path included (tests).
void resetFigureDrawState();

void setReferenceDrawing(bool on);
bool referenceDrawing();

namespace shapes {

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

// Culling for the shapes that follow, within a figure: switched in GL
// unless batching, where each draw carries its own.
void setCull(bool on);

}  // namespace shapes
