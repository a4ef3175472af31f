// reshape.cpp - the GLUT reshape callback and the sizes it derives.
#include "scene/reshape.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include "core/app_state.h"

Projection updateWindowSize(int width, int height) {
    app.windowWidth = static_cast<float>(width);
    app.windowHeight = static_cast<float>(height);
    const float w = app.windowWidth > 0 ? app.windowWidth : 1.0f;
    const float h = app.windowHeight > 0 ? app.windowHeight : 1.0f;
    app.aspectRatio = w / h;
    app.textLineSpacing = static_cast<float>(200.0 / (h + 0.5));
    app.textCharSpacing = app.aspectRatio * 100 / w;
    return projectionFor(app.windowWidth, app.windowHeight, app.orthographicView);
}

int clampViewportSide(int side, int limit) {
    if (side < 0) return 0;
    return (limit > 0 && side > limit) ? limit : side;
}

namespace {
bool oversized = false;
}  // namespace

bool windowBeyondViewportLimit() { return oversized; }

// The software renderer crashes drawing or swapping a window beyond its
// viewport limit (32767 x 32767, say). The viewport, the projection and the
// spacings take the clamped size, the window is asked to shrink to it, and
// the display pass draws nothing until it has.
void reshape(int width, int height) {
    GLint limit[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, limit);
    const int drawnWidth = clampViewportSide(width, limit[0]);
    const int drawnHeight = clampViewportSide(height, limit[1]);
    oversized = drawnWidth < width || drawnHeight < height;
    if (oversized) glutReshapeWindow(drawnWidth, drawnHeight);
    const Projection p = updateWindowSize(drawnWidth, drawnHeight);
    glViewport(0, 0, drawnWidth, drawnHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (p.orthographic)
        glOrtho(p.left, p.right, p.bottom, p.top, p.nearPlane, p.farPlane);
    else
        gluPerspective(p.fovY, p.aspect, p.nearPlane, p.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
