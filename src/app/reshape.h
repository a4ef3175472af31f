// reshape.h - window size, projection and the two text spacings.
#pragma once

// What reshape derives from a window size: the projection box and the
// spacings the display pass lays text out with. GL-free, so it is unit-tested.
struct Projection {
    bool orthographic = false;
    // orthographic box
    double left = 0, right = 0, bottom = 0, top = 0, nearPlane = 0, farPlane = 0;
    // perspective
    double fovY = 60, aspect = 1;
};

// The projection a window of this size shows (a zero side is taken as 1).
// Picking under the mouse builds its rays from the same box.
Projection projectionFor(float width, float height, bool orthographic);

// Stores the size in `app` (windowWidth, windowHeight, aspectRatio and the
// text spacings) and returns the projection to set. A zero side is taken as 1
// so a minimised window never divides by zero.
Projection updateWindowSize(int width, int height);

// Clamps a window side to what the GL can draw (GL_MAX_VIEWPORT_DIMS); a
// limit of 0 or less is taken as unknown and leaves the side. Negative sides
// become 0.
int clampViewportSide(int side, int limit);

// The GLUT reshape callback: viewport, projection, identity model-view. A
// window larger than GL's viewport limit gets the viewport and projection of
// the limit, and is asked to shrink to it.
void reshape(int width, int height);

// True from a reshape beyond the viewport limit until the window has shrunk:
// the display pass must not draw (or swap) such a window.
bool windowBeyondViewportLimit();
