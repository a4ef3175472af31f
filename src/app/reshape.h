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

// The GLUT reshape callback: viewport, projection, identity model-view.
void reshape(int width, int height);
