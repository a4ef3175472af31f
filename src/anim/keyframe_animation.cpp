// keyframe_animation.cpp - queue, time line and spline of the animator.
//
// Whatever it is given, the animator only ever holds finite values: targets
// and values that are not finite are taken as 0, times that are not finite
// are refused, and the spline is evaluated in double precision and bounded
// to the float range, so keyframes near the float limits (a file of +-3e38)
// cannot overflow into infinities and then NaN.
//
// Sections (search "[SECTION]"):
//   Records
//   Animator
#include "anim/keyframe_animation.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

float finiteOrZero(float v) { return std::isfinite(v) ? v : 0.0f; }

// A double result stored as a float that cannot overflow.
float toFloatBounded(double v) {
    if (v > FLT_MAX) return FLT_MAX;
    if (v < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(v);
}

}  // namespace

const char* keyFrameKindName(int kind) {
    static const char* const kNames[KIND_COUNT] = {"spline", "smooth", "linear", "hold"};
    return (kind >= 0 && kind < KIND_COUNT) ? kNames[kind] : kNames[KIND_SPLINE];
}

int keyFrameKindFromName(const char* name) {
    for (int k = 0; k < KIND_COUNT; k++)
        if (std::strcmp(name, keyFrameKindName(k)) == 0) return k;
    return -1;
}

// [SECTION] Records

KeyFrame& KeyFrameRecords::slotPastStored(int i) {
    if (i < 0 || i >= KEYFRAME_CAPACITY) {
        static KeyFrame scratch;
        scratch = kUnwrittenKeyFrame;
        return scratch;
    }
    // resize grows the capacity geometrically, so pushes cost amortised O(1).
    records_.resize(static_cast<std::size_t>(i) + 1);
    return records_[static_cast<std::size_t>(i)];
}

void KeyFrameRecords::assign(const KeyFrame* from, int n) {
    n = std::clamp(n, 0, KEYFRAME_CAPACITY);
    records_.assign(from, from + n);
}

void KeyFrameRecords::insertAt(int at, int count, const KeyFrame& k) {
    if (at < 0 || at > count || count >= KEYFRAME_CAPACITY) return;
    (*this)[count];  // stores slot `count`, so the shift below stays in place
    KeyFrame* r = records_.data();
    std::copy_backward(r + at, r + count, r + count + 1);
    r[at] = k;
}

void KeyFrameRecords::removeAt(int at, int count) {
    if (at < 0 || at >= count || count > stored()) return;
    KeyFrame* r = records_.data();
    std::copy(r + at + 1, r + count, r + at);
}

// [SECTION] Animator

KeyFrameAnimation::KeyFrameAnimation() { resetState(); }

// Appends a keyframe. Too-short keyframes and pushes onto a full queue are
// refused alike, so nothing is ever written past the 200 records.
void KeyFrameAnimation::pushKeyFrame(float x, float y, float z, int mode, int steps, int kind) {
    if (steps <= 1 || numKeyFrames >= KEYFRAME_CAPACITY) return;
    KeyFrame& k = keyFrames[numKeyFrames];
    k.x = finiteOrZero(x); k.y = finiteOrZero(y); k.z = finiteOrZero(z);
    k.mode = mode;
    k.steps = static_cast<float>(steps);
    k.kind = (kind >= 0 && kind < KIND_COUNT) ? kind : KIND_SPLINE;
    numKeyFrames++;
    timesValid = false;
}

bool KeyFrameAnimation::insertRecord(int at, const KeyFrame& k) {
    if (at < 0 || at > numKeyFrames || numKeyFrames >= KEYFRAME_CAPACITY) return false;
    keyFrames.insertAt(at, numKeyFrames, k);
    numKeyFrames++;
    timesValid = false;
    return true;
}

void KeyFrameAnimation::removeRecord(int at) {
    if (at < 0 || at >= numKeyFrames) return;
    keyFrames.removeAt(at, numKeyFrames);
    numKeyFrames--;
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
    const KeyFrameRecords& keys = keyFrames;  // reads only: playing never stores a slot
    if (numKeyFrames == 0) return false;
    ensureTimes();
    const int n = numKeyFrames;
    const float end = keys[n - 1].endTime;
    if (!(t >= 0 && t <= end)) return false;  // also refuses NaN

    if (t == end) {
        currentIndex = n - 1;
    } else {
        const int d = (t > currentTime) ? 1 : -1;
        for (int i = currentIndex; i >= 0 && i < n; i += d) {
            if (keys[i].startTime <= t && t < keys[i].endTime) {
                currentIndex = i;
                break;
            }
        }
    }

    currentTime = t;
    const int c = currentIndex;
    segmentTime = t - keys[c].startTime;
    const float f = keys[c].steps > 0 ? segmentTime / keys[c].steps : 1.0f;
    const bool firstPass = c == 0 && loopCount == 0 && startFromOrigin;
    if (firstPass && !originSet) setOrigin();

    if (keys[c].kind != KIND_SPLINE) {
        evaluateKind(c, f);
    } else if (firstPass) {
        const KeyFrame& k = keys[0];
        const double o[3] = {origin.x, origin.y, origin.z};
        const double p[3] = {k.x, k.y, k.z};
        for (int a = 0; a < 3; a++) value[a] = toFloatBounded(o[a] + (p[a] - o[a]) * f);
    } else {
        evaluateSpline(c, f);
    }
    return true;
}

// The closed cardinal spline into keyframe c, exactly as it always was.
void KeyFrameAnimation::evaluateSpline(int c, float f) {
    const KeyFrameRecords& keys = keyFrames;
    const int n = numKeyFrames;
    const int p = (c == 0) ? n - 1 : c - 1;
    const int p0 = (p - 1 < 0) ? n - 1 : p - 1;
    const int p3 = (c + 1 >= n) ? 0 : c + 1;
    const KeyFrame& k0 = keys[p0];
    const KeyFrame& k1 = keys[p];
    const KeyFrame& k2 = keys[c];
    const KeyFrame& k3 = keys[p3];
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
}

namespace {

double component(const KeyFrame& k, int a) { return a == 0 ? k.x : (a == 1 ? k.y : k.z); }

// Slope at the middle of three values (per step) that keeps the cubic
// monotone on both sides (Fritsch-Butland): zero where the middle value is
// a turning point or equals a neighbour, and at an end with no neighbour.
double monotoneSlope(bool hasBefore, double before, double mid, bool hasAfter, double after,
                     double hBefore, double hAfter) {
    if (!hasBefore || !hasAfter || hBefore <= 0 || hAfter <= 0) return 0;
    const double d0 = (mid - before) / hBefore, d1 = (after - mid) / hAfter;
    if (!(d0 * d1 > 0)) return 0;
    return 3 * (hBefore + hAfter) / ((2 * hAfter + hBefore) / d0 + (hAfter + 2 * hBefore) / d1);
}

}  // namespace

// Smooth, linear and hold into keyframe c. Each is written as the keyframe
// before plus a share of the difference, so two equal keyframes give that
// value exactly at every time between them.
void KeyFrameAnimation::evaluateKind(int c, float f) {
    const KeyFrameRecords& keys = keyFrames;
    const int n = numKeyFrames;
    const bool firstPass = c == 0 && loopCount == 0 && startFromOrigin;
    const int p = (c == 0) ? n - 1 : c - 1;
    const KeyFrame& from = firstPass ? origin : keys[p];
    const KeyFrame& to = keys[c];
    const double P1[3] = {from.x, from.y, from.z};
    const double P2[3] = {to.x, to.y, to.z};
    const double h = to.steps;

    double share = f;                    // linear
    if (to.kind == KIND_HOLD) share = f >= 1 ? 1 : 0;
    if (to.kind != KIND_SMOOTH) {
        for (int a = 0; a < 3; a++) value[a] = toFloatBounded(P1[a] + (P2[a] - P1[a]) * share);
        return;
    }

    // What came before `from` and what comes after `to`, where there is one.
    const KeyFrame* before = nullptr;
    double hBefore = 0;
    if (!firstPass) {
        if (p >= 1) before = &keys[p - 1];
        else before = (loopCount == 0 && startFromOrigin) ? &origin : &keys[n - 1];
        hBefore = keys[p].steps;
    }
    const KeyFrame* after = nullptr;
    double hAfter = 0;
    if (c + 1 < n) { after = &keys[c + 1]; hAfter = keys[c + 1].steps; }
    else if (cycle) { after = &keys[0]; hAfter = keys[0].steps; }

    const double F = f, F2 = F * F, F3 = F2 * F;
    const double h01 = 3 * F2 - 2 * F3;
    const double h10 = F3 - 2 * F2 + F;
    const double h11 = F3 - F2;
    for (int a = 0; a < 3; a++) {
        const double b = before ? component(*before, a) : 0;
        const double e = after ? component(*after, a) : 0;
        const double m1 = monotoneSlope(before != nullptr, b, P1[a], true, P2[a], hBefore, h);
        const double m2 = monotoneSlope(true, P1[a], P2[a], after != nullptr, e, h, hAfter);
        value[a] = toFloatBounded(P1[a] + h01 * (P2[a] - P1[a]) + h * (h10 * m1 + h11 * m2));
    }
}

bool KeyFrameAnimation::advance(float dt) {
    const KeyFrameRecords& keys = keyFrames;
    if (numKeyFrames == 0 || !std::isfinite(dt)) return false;
    ensureTimes();
    const int n = numKeyFrames;
    const float end = keys[n - 1].endTime;
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
    const KeyFrameRecords& keys = keyFrames;
    if (i < 0 || i >= numKeyFrames) return;
    ensureTimes();
    const KeyFrame& k = keys[i];
    currentIndex = i;
    currentTime = k.endTime;
    value[0] = k.x; value[1] = k.y; value[2] = k.z;
    segmentTime = k.steps;
}
