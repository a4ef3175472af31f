// keyframe_animation.cpp - queue, time line and spline of the animator.
//
// Whatever it is given, the animator only ever holds finite values: targets
// and values that are not finite are taken as 0, times that are not finite
// are refused, and the spline is evaluated in double precision and bounded
// to the float range, so keyframes near the float limits (a file of +-3e38)
// cannot overflow into infinities and then NaN.
#include "anim/keyframe_animation.h"

#include <cfloat>
#include <cmath>

namespace {

float finiteOrZero(float v) { return std::isfinite(v) ? v : 0.0f; }

// A double result stored as a float that cannot overflow.
float toFloatBounded(double v) {
    if (v > FLT_MAX) return FLT_MAX;
    if (v < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(v);
}

}  // namespace

KeyFrameAnimation::KeyFrameAnimation() { resetState(); }

// Appends a keyframe. Too-short keyframes and pushes onto a full queue are
// refused alike, so nothing is ever written past the 200 records.
void KeyFrameAnimation::pushKeyFrame(float x, float y, float z, int mode, int steps) {
    if (steps <= 1 || numKeyFrames >= KEYFRAME_CAPACITY) return;
    KeyFrame& k = keyFrames[numKeyFrames];
    k.x = finiteOrZero(x); k.y = finiteOrZero(y); k.z = finiteOrZero(z);
    k.mode = mode;
    k.steps = static_cast<float>(steps);
    numKeyFrames++;
    timesValid = false;
}

void KeyFrameAnimation::setValue(float x, float y, float z) {
    value[0] = finiteOrZero(x); value[1] = finiteOrZero(y); value[2] = finiteOrZero(z);
}

void KeyFrameAnimation::setOrigin() {
    origin.x = value[0]; origin.y = value[1]; origin.z = value[2];
    origin.mode = ABS;
    origin.steps = 0;
    originSet = true;
}

// Empties the queue (records stay readable); value is kept so the next queue
// starts from where the thing stands.
void KeyFrameAnimation::clear() { resetState(); }

void KeyFrameAnimation::resetState() {
    currentIndex = 0;
    numKeyFrames = 0;
    currentTime = 0;
    segmentTime = 0;
    cycle = false;
    startFromOrigin = true;
    originSet = false;
    loopCount = 0;
    timesValid = true;
    interpolation = INTERP_CARDINAL;
    setTension(0);
}

// A tension that is not finite would make every value NaN: it is ignored.
void KeyFrameAnimation::setTension(float tension) {
    const float scale = (1.0f - tension) / 2.0f;
    if (std::isfinite(scale)) tangentScale = scale;
}

void KeyFrameAnimation::computeTimes() {
    float t = 0;
    for (int i = 0; i < numKeyFrames; i++) {
        keyFrames[i].startTime = t;
        t += keyFrames[i].steps;
        keyFrames[i].endTime = t;
    }
}

void KeyFrameAnimation::ensureTimes() {
    if (timesValid) return;
    computeTimes();
    timesValid = true;
}

// Evaluates value at time t. The segment search starts at the current
// keyframe and walks in the direction of time, so a frame touches one or two
// records. The end of the line belongs to no half-open segment; it is the
// end of the last one, wherever the search came from.
bool KeyFrameAnimation::seek(float t) {
    if (numKeyFrames == 0) return false;
    ensureTimes();
    const int n = numKeyFrames;
    const float end = keyFrames[n - 1].endTime;
    if (!(t >= 0 && t <= end)) return false;  // also refuses NaN

    if (t == end) {
        currentIndex = n - 1;
    } else {
        const int d = (t > currentTime) ? 1 : -1;
        for (int i = currentIndex; i >= 0 && i < n; i += d) {
            if (keyFrames[i].startTime <= t && t < keyFrames[i].endTime) {
                currentIndex = i;
                break;
            }
        }
    }

    currentTime = t;
    const int c = currentIndex;
    segmentTime = t - keyFrames[c].startTime;
    const float f = keyFrames[c].steps > 0 ? segmentTime / keyFrames[c].steps : 1.0f;

    if (c == 0 && loopCount == 0 && startFromOrigin) {
        if (!originSet) setOrigin();
        const KeyFrame& k = keyFrames[0];
        const double o[3] = {origin.x, origin.y, origin.z};
        const double p[3] = {k.x, k.y, k.z};
        for (int a = 0; a < 3; a++) value[a] = toFloatBounded(o[a] + (p[a] - o[a]) * f);
        return true;
    }

    const int p = (c == 0) ? n - 1 : c - 1;
    const int p0 = (p - 1 < 0) ? n - 1 : p - 1;
    const int p3 = (c + 1 >= n) ? 0 : c + 1;
    const KeyFrame& k0 = keyFrames[p0];
    const KeyFrame& k1 = keyFrames[p];
    const KeyFrame& k2 = keyFrames[c];
    const KeyFrame& k3 = keyFrames[p3];
    const double P0[3] = {k0.x, k0.y, k0.z};
    const double P1[3] = {k1.x, k1.y, k1.z};
    const double P2[3] = {k2.x, k2.y, k2.z};
    const double P3[3] = {k3.x, k3.y, k3.z};

    const double s = tangentScale;
    const double f2 = static_cast<double>(f) * f, f3 = f2 * f;
    const double h1 = 2 * f3 - 3 * f2 + 1;
    const double h2 = 3 * f2 - 2 * f3;
    const double h3 = f3 - 2 * f2 + f;
    const double h4 = f3 - f2;
    for (int a = 0; a < 3; a++) {
        const double m1 = s * (P1[a] - P0[a]) + s * (P2[a] - P1[a]);
        const double m2 = s * (P2[a] - P1[a]) + s * (P3[a] - P2[a]);
        value[a] = toFloatBounded(h1 * P1[a] + h2 * P2[a] + h3 * m1 + h4 * m2);
    }
    return true;
}

bool KeyFrameAnimation::advance(float dt) {
    if (numKeyFrames == 0 || !std::isfinite(dt)) return false;
    ensureTimes();
    const int n = numKeyFrames;
    const float end = keyFrames[n - 1].endTime;
    float t = currentTime + dt;

    if (t > end) {
        if (cycle) {
            t -= end;
            loopCount++;
            seek(t);
        } else {
            jumpToKeyFrame(n - 1);
            return false;
        }
    } else if (t < 0) {
        if (cycle) {
            loopCount--;
            if (loopCount < 0) {
                // On its first pass a cycling animator does not move back past its start.
                loopCount = 0;
                return true;
            }
            t += end;
            seek(t);
        } else {
            seek(0);
        }
    } else {
        seek(t);
    }
    return true;
}

void KeyFrameAnimation::jumpToKeyFrame(int i) {
    if (i < 0 || i >= numKeyFrames) return;
    ensureTimes();
    const KeyFrame& k = keyFrames[i];
    currentIndex = i;
    currentTime = k.endTime;
    value[0] = k.x; value[1] = k.y; value[2] = k.z;
    segmentTime = k.steps;
}
