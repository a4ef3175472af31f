// projection.cpp - the projection box of a window size.
#include "camera/projection.h"

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
