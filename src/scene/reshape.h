// reshape.h - window size, projection and the two text spacings.
#pragma once

#include "camera/projection.h"

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
