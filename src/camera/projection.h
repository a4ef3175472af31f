// projection.h - the projection box a window of a given size shows.
#pragma once

// What a window size gives: the orthographic box or the perspective's
// field and aspect. GL-free, so it is unit-tested; reshape sets it on GL.
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
