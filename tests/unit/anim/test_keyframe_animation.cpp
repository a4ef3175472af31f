// Behaviour of the keyframe animator: queue, time line, first pass, spline,
// end-of-line rules and the refusals.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "anim/keyframe_animation.h"

namespace {

// Three keyframes of 20, 30 and 10 steps from a seeded origin (0, 0, 0).
void queue3(KeyFrameAnimation& a) {
    a.setValue(0, 0, 0);
    a.setOrigin();
    a.pushKeyFrame(10, 0, 0, ABS, 20);
    a.pushKeyFrame(10, 20, 0, ABS, 30);
    a.pushKeyFrame(0, 20, 5, ABS, 10);
}

}  // namespace

TEST(KeyFrameAnimation, RefusesTooShortKeyframesAndAFullQueue) {
    KeyFrameAnimation a;
    for (int steps : {1, 0, -5}) a.pushKeyFrame(1, 2, 3, ABS, steps);
    EXPECT_EQ(a.numKeyFrames, 0);
    EXPECT_TRUE(a.timesValid);
    EXPECT_EQ(a.keyFrames[0].mode, 2);  // record untouched

    for (int i = 0; i < KEYFRAME_CAPACITY; i++) a.pushKeyFrame(float(i), 0, 0, ABS, 2);
    EXPECT_EQ(a.numKeyFrames, KEYFRAME_CAPACITY);
    a.pushKeyFrame(999, 999, 999, ABS, 10);  // one past the records: refused
    EXPECT_EQ(a.numKeyFrames, KEYFRAME_CAPACITY);
    EXPECT_FLOAT_EQ(a.keyFrames[KEYFRAME_CAPACITY - 1].x, KEYFRAME_CAPACITY - 1);
}

TEST(KeyFrameAnimation, TimesAreComputedLazilyAsCumulativeSegments) {
    KeyFrameAnimation a;
    queue3(a);
    EXPECT_FALSE(a.timesValid);
    a.advance(1);
    EXPECT_TRUE(a.timesValid);
    EXPECT_FLOAT_EQ(a.keyFrames[0].startTime, 0);
    EXPECT_FLOAT_EQ(a.keyFrames[1].startTime, 20);
    EXPECT_FLOAT_EQ(a.keyFrames[1].endTime, 50);
    EXPECT_FLOAT_EQ(a.keyFrames[2].endTime, 60);
}

TEST(KeyFrameAnimation, FirstPassRunsStraightFromTheOrigin) {
    KeyFrameAnimation a;
    queue3(a);
    EXPECT_TRUE(a.advance(1));
    EXPECT_FLOAT_EQ(a.currentTime, 1);
    EXPECT_EQ(a.currentIndex, 0);
    EXPECT_FLOAT_EQ(a.value[0], 10 * 0.05f);  // f = 0.05 on the straight line
    EXPECT_FLOAT_EQ(a.value[1], 0);
}

TEST(KeyFrameAnimation, LazyOriginIsTheValueHeldAtFirstEvaluation) {
    KeyFrameAnimation a;
    a.setValue(0, 5, -5);
    a.pushKeyFrame(10, 10, -10, ABS, 10);
    EXPECT_FALSE(a.originSet);
    a.advance(5);
    EXPECT_TRUE(a.originSet);
    EXPECT_FLOAT_EQ(a.origin.y, 5);
    EXPECT_FLOAT_EQ(a.origin.z, -5);
    EXPECT_FLOAT_EQ(a.value[0], 5);
    EXPECT_FLOAT_EQ(a.value[1], 7.5f);
}

TEST(KeyFrameAnimation, SplineHitsKeyframesAtSegmentEndsAndMatchesAHandWorkedMidpoint) {
    KeyFrameAnimation a;
    queue3(a);
    a.advance(1);
    // seek(20): keyframe 1 with f = 0 gives exactly keyframe 0's target.
    EXPECT_TRUE(a.seek(20));
    EXPECT_EQ(a.currentIndex, 1);
    EXPECT_FLOAT_EQ(a.segmentTime, 0);
    EXPECT_FLOAT_EQ(a.value[0], 10);
    EXPECT_FLOAT_EQ(a.value[1], 0);

    // Mid-segment of keyframe 1 (f = 0.5): P0 = kf2 (wrapped), P1 = kf0,
    // P2 = kf1, P3 = kf2. For y: P = (20, 0, 20, 20), s = 0.5:
    // m1 = 0.5*(0-20) + 0.5*(20-0) = 0; m2 = 0.5*20 + 0.5*0 = 10;
    // y = 0.5*0 + 0.5*20 + 0.125*0 + (-0.125)*10 = 8.75.
    // For x: P = (0, 10, 10, 0): m1 = 0.5*10 + 0 = 5, m2 = 0 + 0.5*(-10) = -5;
    // x = 0.5*10 + 0.5*10 + 0.125*5 - 0.125*(-5) = 11.25.
    EXPECT_TRUE(a.seek(35));
    EXPECT_NEAR(a.value[0], 11.25f, 1e-5);
    EXPECT_NEAR(a.value[1], 8.75f, 1e-5);

    // Coming from keyframe 2, seek(60) keeps the segment and yields its target.
    a.seek(55);
    EXPECT_EQ(a.currentIndex, 2);
    EXPECT_TRUE(a.seek(60));
    EXPECT_EQ(a.currentIndex, 2);
    EXPECT_FLOAT_EQ(a.value[0], 0);
    EXPECT_FLOAT_EQ(a.value[1], 20);
    EXPECT_FLOAT_EQ(a.value[2], 5);
}

TEST(KeyFrameAnimation, SeekRefusesTimesOutsideTheLineAndSearchesFromTheCurrentKeyframe) {
    KeyFrameAnimation a;
    EXPECT_FALSE(a.seek(0));  // empty
    queue3(a);
    EXPECT_FALSE(a.seek(60.5f));
    EXPECT_FALSE(a.seek(-0.5f));
    EXPECT_FLOAT_EQ(a.currentTime, 0);

    a.seek(55);
    EXPECT_EQ(a.currentIndex, 2);
    // Backwards from keyframe 2 the search walks down to 0.
    a.seek(5);
    EXPECT_EQ(a.currentIndex, 0);
    // Equal time searches backwards, staying in the same segment.
    a.seek(5);
    EXPECT_EQ(a.currentIndex, 0);
}

TEST(KeyFrameAnimation, NonCyclingStopsOnTheLastKeyframe) {
    KeyFrameAnimation a;
    queue3(a);
    a.advance(59);
    EXPECT_FALSE(a.advance(5));
    EXPECT_FLOAT_EQ(a.currentTime, 60);
    EXPECT_FLOAT_EQ(a.segmentTime, 10);
    EXPECT_EQ(a.currentIndex, 2);
    EXPECT_FLOAT_EQ(a.value[2], 5);
    EXPECT_FALSE(a.advance(1));
    // And plays back again with a negative step.
    EXPECT_TRUE(a.advance(-10));
    EXPECT_FLOAT_EQ(a.currentTime, 50);
}

TEST(KeyFrameAnimation, CyclingWrapsCountsTheLoopAndLeavesTheOriginBehind) {
    KeyFrameAnimation a;
    a.setValue(100, 100, 100);
    a.setOrigin();
    a.pushKeyFrame(10, 0, 0, ABS, 20);
    a.pushKeyFrame(10, 20, 0, ABS, 30);
    a.pushKeyFrame(0, 20, 5, ABS, 10);
    a.setCycle(true);
    a.seek(59.5f);
    a.advance(1);
    EXPECT_FLOAT_EQ(a.currentTime, 0.5f);
    EXPECT_EQ(a.loopCount, 1);
    EXPECT_EQ(a.currentIndex, 0);
    // Keyframe 0's segment now comes from the last keyframe (0, 20, 5), not
    // from the origin at 100: early in it the value is near the last target.
    EXPECT_NEAR(a.value[1], 20, 1.0);
    EXPECT_LT(a.value[0], 50);
}

TEST(KeyFrameAnimation, CyclingBackwardsIsDroppedOnTheFirstPassAndWrapsLater) {
    KeyFrameAnimation a;
    queue3(a);
    a.setCycle(true);
    a.advance(0.5f);
    const float before = a.value[0];
    EXPECT_TRUE(a.advance(-1));
    EXPECT_FLOAT_EQ(a.currentTime, 0.5f);
    EXPECT_FLOAT_EQ(a.value[0], before);
    EXPECT_EQ(a.loopCount, 0);

    a.loopCount = 1;
    a.advance(-1);
    EXPECT_FLOAT_EQ(a.currentTime, 59.5f);
    EXPECT_EQ(a.loopCount, 0);
    EXPECT_EQ(a.currentIndex, 2);
}

TEST(KeyFrameAnimation, NonCyclingBackwardsRestsAtTheStartOnTheOrigin) {
    KeyFrameAnimation a;
    a.setValue(3, 4, 5);
    a.setOrigin();
    a.pushKeyFrame(10, 10, 10, ABS, 20);
    a.advance(2);
    a.advance(-5);
    EXPECT_FLOAT_EQ(a.currentTime, 0);
    EXPECT_FLOAT_EQ(a.value[0], 3);
    EXPECT_FLOAT_EQ(a.value[2], 5);
}

TEST(KeyFrameAnimation, OneCyclingKeyframeGoesStraightThenStaysOnTarget) {
    KeyFrameAnimation a;
    a.setValue(0, 0, 0);
    a.setOrigin();
    a.pushKeyFrame(8, 0, 0, ABS, 4);
    a.setCycle(true);
    a.advance(2);
    EXPECT_FLOAT_EQ(a.value[0], 4);
    a.advance(3);  // wraps to 1 on the second pass
    EXPECT_EQ(a.loopCount, 1);
    EXPECT_FLOAT_EQ(a.value[0], 8);
    a.advance(1);
    EXPECT_FLOAT_EQ(a.value[0], 8);
}

TEST(KeyFrameAnimation, StepLongerThanTheLineOnlyCountsALoop) {
    KeyFrameAnimation a;
    queue3(a);
    a.setCycle(true);
    a.advance(10);
    const float t = a.currentTime, v = a.value[0];
    a.advance(500);
    EXPECT_FLOAT_EQ(a.currentTime, t);
    EXPECT_FLOAT_EQ(a.value[0], v);
    EXPECT_EQ(a.loopCount, 1);
}

TEST(KeyFrameAnimation, JumpToKeyFrameHonoursBoundsAndLandsOnTheTarget) {
    KeyFrameAnimation a;
    queue3(a);
    a.jumpToKeyFrame(3);
    a.jumpToKeyFrame(-1);
    EXPECT_FLOAT_EQ(a.currentTime, 0);
    EXPECT_EQ(a.currentIndex, 0);
    a.jumpToKeyFrame(1);
    EXPECT_EQ(a.currentIndex, 1);
    EXPECT_FLOAT_EQ(a.currentTime, 50);
    EXPECT_FLOAT_EQ(a.segmentTime, 30);
    EXPECT_FLOAT_EQ(a.value[1], 20);
}

TEST(KeyFrameAnimation, ClearKeepsValueAndLeavesOldRecordsReadable) {
    KeyFrameAnimation a;
    queue3(a);
    a.setCycle(true);
    a.advance(30);
    const float v = a.value[0];
    a.clear();
    EXPECT_EQ(a.numKeyFrames, 0);
    EXPECT_FALSE(a.cycle);
    EXPECT_FALSE(a.originSet);
    EXPECT_FLOAT_EQ(a.value[0], v);
    EXPECT_FLOAT_EQ(a.keyFrames[2].z, 5);
    EXPECT_FALSE(a.advance(1));
}

// The end of the line lies in no half-open segment; a seek that lands on it
// from an earlier segment must still take the last one, not extrapolate the
// earlier one (which gave 21.03 here), and play back correctly from there.
TEST(KeyFrameAnimation, SeekLandingOnTheEndFromAnEarlierSegmentTakesTheLastOne) {
    KeyFrameAnimation a;
    a.setValue(0, 0, 0);
    a.setOrigin();
    a.pushKeyFrame(10, 0, 0, ABS, 20);
    a.pushKeyFrame(20, 0, 0, ABS, 30);
    a.pushKeyFrame(30, 0, 0, ABS, 4);
    a.seek(49);
    ASSERT_EQ(a.currentIndex, 1);
    EXPECT_TRUE(a.seek(54));
    EXPECT_EQ(a.currentIndex, 2);
    EXPECT_FLOAT_EQ(a.segmentTime, 4);
    EXPECT_FLOAT_EQ(a.value[0], 30);

    // Backwards through the last segment the value stays between its ends.
    for (int step = 0; step < 3; step++) {
        a.advance(-1);
        EXPECT_EQ(a.currentIndex, 2);
        EXPECT_GT(a.value[0], 20);
        EXPECT_LT(a.value[0], 30);
    }
}

// Targets near the float limits overflowed the spline (inf, then inf x 0 =
// NaN); values, targets and times that are not finite must not get in.
TEST(KeyFrameAnimation, ValuesStayFiniteWhateverTheInputs) {
    KeyFrameAnimation a;
    a.setValue(-FLT_MAX, 0, 0);  // the first pass starts at the other end of the range
    a.setOrigin();
    for (int i = 0; i < 6; i++) a.pushKeyFrame(i % 2 ? -3e38f : FLT_MAX, i % 2 ? 3e38f : -3e38f, 0, ABS, 5 + i);
    a.setCycle(true);
    for (float dt : {1.0f, 0.37f, -1.0f, 2.5f})
        for (int step = 0; step < 100; step++) {
            a.advance(dt);
            for (float v : a.value) ASSERT_TRUE(std::isfinite(v)) << "dt " << dt << " step " << step;
        }

    KeyFrameAnimation c;
    const float nan = std::nanf("");
    c.setValue(nan, INFINITY, 1);
    c.setOrigin();
    c.pushKeyFrame(nan, -INFINITY, 7, ABS, 10);
    c.setTension(nan);
    c.advance(4);
    for (float t : {nan, INFINITY}) {
        EXPECT_FALSE(c.advance(t));
        EXPECT_FALSE(c.seek(t));
    }
    EXPECT_FLOAT_EQ(c.currentTime, 4);
    EXPECT_FLOAT_EQ(c.value[0], 0);  // taken as 0 from both ends
    EXPECT_FLOAT_EQ(c.value[2], 1 + 6 * 0.4f);
}
