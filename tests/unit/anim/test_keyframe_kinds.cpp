// How each keyframe kind moves the animator into its keyframe: smooth holds
// and never overshoots, linear keeps an even pace, hold jumps at the
// keyframe's time, and the spline is the cardinal spline it always was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "anim/keyframe_animation.h"

namespace {

// A cycling queue of the given x targets, 20 steps each, origin at x = 0.
KeyFrameAnimation queueOf(std::initializer_list<float> xs, int kind, bool cycle = false) {
    KeyFrameAnimation a;
    a.setValue(0, 0, 0);
    a.setOrigin();
    for (float x : xs) a.pushKeyFrame(x, -x, 2 * x, ABS, 20, kind);
    a.setCycle(cycle);
    return a;
}

float xAt(KeyFrameAnimation& a, float t) {
    EXPECT_TRUE(a.seek(t));
    return a.value[0];
}

// The cardinal spline of the animator's own definition, per component.
float referenceSpline(float p0, float p1, float p2, float p3, float f) {
    const double s = 0.5, F = f, F2 = F * F, F3 = F2 * F;
    const double m1 = s * (double(p1) - p0) + s * (double(p2) - p1);
    const double m2 = s * (double(p2) - p1) + s * (double(p3) - p2);
    return static_cast<float>((2 * F3 - 3 * F2 + 1) * p1 + (3 * F2 - 2 * F3) * p2 + (F3 - 2 * F2 + F) * m1 +
                              (F3 - F2) * m2);
}

}  // namespace

TEST(KeyFrameKinds, SmoothHoldsEqualKeyframesExactlyAndStaysBetweenNeighbours) {
    // -88 twice is a hold: the spline drifted past -99 here.
    KeyFrameAnimation a = queueOf({-30, -88, -88, 40, 44.8f, 10}, KIND_SMOOTH);
    for (float t = 40; t <= 60; t += 0.25f) {
        ASSERT_TRUE(a.seek(t));
        EXPECT_EQ(a.value[0], -88.0f) << "t " << t;
        EXPECT_EQ(a.value[1], 88.0f);
        EXPECT_EQ(a.value[2], -176.0f);
    }
    // Every segment stays inside the range of the two keyframes it joins.
    const float xs[] = {0, -30, -88, -88, 40, 44.8f, 10};
    for (int seg = 0; seg < 6; seg++) {
        const float lo = std::min(xs[seg], xs[seg + 1]), hi = std::max(xs[seg], xs[seg + 1]);
        for (float f = 0; f <= 1.0f; f += 0.05f) {
            const float x = xAt(a, 20.0f * seg + 20.0f * f);
            EXPECT_GE(x, lo) << "segment " << seg << " f " << f;
            EXPECT_LE(x, hi) << "segment " << seg << " f " << f;
        }
    }
    // A turning point is a peak of the curve, never passed.
    EXPECT_EQ(xAt(a, 100), 44.8f);
    EXPECT_LT(xAt(a, 99), 44.8f);
    EXPECT_LT(xAt(a, 101), 44.8f);
}

TEST(KeyFrameKinds, SmoothRisesMonotonouslyThroughAnEvenRise) {
    KeyFrameAnimation a = queueOf({10, 20, 60, 61}, KIND_SMOOTH);
    float last = -1;
    for (float t = 0; t <= 80; t += 0.5f) {
        const float x = xAt(a, t);
        EXPECT_GE(x, last) << "t " << t;
        last = x;
    }
    EXPECT_EQ(xAt(a, 40), 20.0f);
}

TEST(KeyFrameKinds, LinearKeepsAnEvenStep) {
    KeyFrameAnimation a = queueOf({10, 50}, KIND_LINEAR);
    for (int t = 21; t <= 40; t++) {
        a.seek(float(t - 1));
        const float before = a.value[0];
        a.seek(float(t));
        EXPECT_NEAR(a.value[0] - before, 2.0f, 1e-5f) << "t " << t;
    }
    EXPECT_EQ(xAt(a, 30), 30.0f);
}

TEST(KeyFrameKinds, HoldKeepsThePreviousKeyframeUntilItsTimeThenJumps) {
    KeyFrameAnimation a = queueOf({10, 50, 20}, KIND_HOLD);
    EXPECT_EQ(xAt(a, 19.9f), 0.0f);  // the origin, held
    EXPECT_EQ(xAt(a, 20), 10.0f);
    EXPECT_EQ(xAt(a, 39.99f), 10.0f);
    EXPECT_EQ(xAt(a, 40), 50.0f);
    EXPECT_EQ(xAt(a, 40.01f), 50.0f);
    // Played frame by frame it lands on the same values.
    KeyFrameAnimation b = queueOf({10, 50, 20}, KIND_HOLD);
    for (int i = 0; i < 39; i++) b.advance(1);
    EXPECT_EQ(b.value[0], 10.0f);
    b.advance(1);
    EXPECT_EQ(b.value[0], 50.0f);
}

TEST(KeyFrameKinds, SplineIsTheCardinalSplineBitForBit) {
    // Unequal lengths, a cycling queue on its second pass, and the default
    // kind: every value equals the definition's float exactly.
    KeyFrameAnimation a;
    a.setValue(1, 2, 3);
    a.setOrigin();
    const float xs[] = {10, -4.25f, 33.3f, 7};
    const int steps[] = {20, 30, 10, 17};
    for (int i = 0; i < 4; i++) a.pushKeyFrame(xs[i], 0, 0, ABS, steps[i]);
    EXPECT_EQ(a.keyFrames[0].kind, KIND_SPLINE);
    a.setCycle(true);
    a.advance(77 + 1);  // wrap once: loopCount 1, keyframe 0 comes from the last
    EXPECT_EQ(a.loopCount, 1);
    const float starts[] = {0, 20, 50, 60};
    for (int c = 0; c < 4; c++) {
        for (float f : {0.1f, 0.37f, 0.5f, 0.93f}) {
            const float t = starts[c] + f * steps[c];
            ASSERT_TRUE(a.seek(t));
            const float fs = (t - starts[c]) / steps[c];
            const float want = referenceSpline(xs[(c + 2) % 4], xs[(c + 3) % 4], xs[c], xs[(c + 1) % 4], fs);
            EXPECT_EQ(std::memcmp(&a.value[0], &want, sizeof want), 0) << "c " << c << " f " << f;
        }
    }
}

TEST(KeyFrameKinds, KindsNamesRoundTripAndUnknownPushesFallBackToSpline) {
    for (int k = 0; k < KIND_COUNT; k++) EXPECT_EQ(keyFrameKindFromName(keyFrameKindName(k)), k);
    EXPECT_EQ(keyFrameKindFromName("bezier"), -1);
    KeyFrameAnimation a;
    a.pushKeyFrame(1, 1, 1, ABS, 20, 42);
    EXPECT_EQ(a.keyFrames[0].kind, KIND_SPLINE);
}

TEST(KeyFrameKinds, CyclingSmoothSingleKeyframeStaysOnTargetAfterTheFirstPass) {
    KeyFrameAnimation a = queueOf({12}, KIND_SMOOTH, true);
    a.advance(10);
    EXPECT_GT(a.value[0], 0.0f);
    EXPECT_LT(a.value[0], 12.0f);
    for (int i = 0; i < 40; i++) {
        a.advance(1);
        if (a.loopCount > 0) { EXPECT_EQ(a.value[0], 12.0f); }
    }
}
