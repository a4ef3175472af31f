// reshape.cpp - the GLUT reshape callback and the sizes it derives.
#include "app/reshape.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include "core/app_state.h"

Projection projectionFor(float width, float height, bool orthographic) {
    // Guard the divisions below: a minimised window may report a zero side.
    const float w = width > 0 ? width : 1.0f;
    const float h = height > 0 ? height : 1.0f;
    Projection p;
    p.orthographic = orthographic;
    if (p.orthographic) {
        if (w < h) {
            p.left = -10; p.right = 10;
            p.bottom = -10.0 * h / w; p.top = 10.0 * h / w;
        } else {
            p.left = -10.0 * w / h; p.right = 10.0 * w / h;
            p.bottom = -10; p.top = 10;
        }
        p.nearPlane = -10; p.farPlane = 10;
    } else {
        p.fovY = 60;
        p.aspect = w / h;
        p.nearPlane = 1; p.farPlane = 2000;
    }
    return p;
}

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
