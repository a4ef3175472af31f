// overlay.cpp - window-pixel drawing over the frame.
#include "ui/overlay.h"

#include <GL/gl.h>

#include "core/app_state.h"

namespace {
struct SavedState { GLboolean lighting, texture, depth, blend; };
SavedState saved;
}  // namespace

void beginOverlay() {
    saved = {glIsEnabled(GL_LIGHTING), glIsEnabled(GL_TEXTURE_2D), glIsEnabled(GL_DEPTH_TEST),
             glIsEnabled(GL_BLEND)};
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // Plain white texels: the colours come through unchanged.
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(app.textures[TEX_COLOR_WHITE]));
    glEnable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, app.windowWidth, 0, app.windowHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endOverlay() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    auto restore = [](GLenum cap, GLboolean on) { if (on) glEnable(cap); else glDisable(cap); };
    restore(GL_LIGHTING, saved.lighting);
    restore(GL_TEXTURE_2D, saved.texture);
    restore(GL_DEPTH_TEST, saved.depth);
    restore(GL_BLEND, saved.blend);
    glLineWidth(1);
}

void overlayRect(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex2f(x0, y0); glVertex2f(x1, y0); glVertex2f(x1, y1); glVertex2f(x0, y1);
    glEnd();
}
