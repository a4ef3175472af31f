// figure_pass.cpp - the figure drawing pass's record and its begin and end.
#include "figure/figure_pass.h"

#include <GL/gl.h>

#include "figure/shape_batch.h"

namespace {

FigureDrawState state;

}  // namespace

FigureDrawState& figureDrawState() { return state; }

void resetFigureDrawState() { state = FigureDrawState(); }

void setReferenceDrawing(bool on) { state.reference = on; }
bool referenceDrawing() { return state.reference; }

namespace shapes {

void setCull(bool on) {
    if (on == state.cullOn) return;
    state.cullOn = on;
    if (state.batching) return;
    if (on) glEnable(GL_CULL_FACE);
    else glDisable(GL_CULL_FACE);
}

void beginFigure(bool filled) {
    state.inFigure = true;
    state.cullAllowed = filled && !state.reference;
    state.batching = filled && !state.reference;
    state.outline = !filled;
    state.cullOn = glIsEnabled(GL_CULL_FACE);
    state.pixelsPerUnit = 0;
    if (!state.batching) {
        shapebatch::flush();  // what waits goes out before anything drawn directly
        return;
    }
    if (state.cullOn) glDisable(GL_CULL_FACE);  // the batch culls per draw
    state.cullOn = false;
    glGetFloatv(GL_CURRENT_NORMAL, state.normal);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    shapebatch::setProjection(projection);
}

void setDetail(float pixelsPerUnit, float maxErrorPx) {
    state.pixelsPerUnit = pixelsPerUnit;
    state.maxErrorPx = maxErrorPx;
}

void endFigure() {
    setCull(false);
    if (state.batching) {
        if (!state.holding) shapebatch::flush();
        glNormal3fv(state.normal);
    }
    state.inFigure = false;
    state.cullAllowed = false;
    state.batching = false;
    state.outline = false;
    state.pixelsPerUnit = 0;
}

void beginFigures() { state.holding = true; }

void endFigures() {
    state.holding = false;
    shapebatch::flush();
}

}  // namespace shapes
