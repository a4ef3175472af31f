// The built-in choreographies: what each queues, on which animators, with
// which step counts and cycle flag, what it prints, and the shape of the
// dances (kicks return to the standing pose, step cycles mirror left/right).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/app_state.h"
#include "choreo/coded_animations.h"

namespace {

using Fn = void (*)(Person&);

struct Triple3 {
    float x, y, z;
};

Triple3 key(const KeyFrameAnimation& a, int i) {
    return {a.keyFrames[i].x, a.keyFrames[i].y, a.keyFrames[i].z};
}

void expectSame(Triple3 a, Triple3 b, const std::string& where) {
    EXPECT_FLOAT_EQ(a.x, b.x) << where;
    EXPECT_FLOAT_EQ(a.y, b.y) << where;
    EXPECT_FLOAT_EQ(a.z, b.z) << where;
}

// Standing pose as a freshly reset person holds it.
Triple3 standing(int part) {
    const Person& fresh = app.persons[44];
    return {fresh.part[part].rotation[0], fresh.part[part].rotation[1], fresh.part[part].rotation[2]};
}

std::string printed(Fn fn, Person& p) {
    testing::internal::CaptureStdout();
    fn(p);
    return testing::internal::GetCapturedStdout();
}

// Left/right part pairs (right first).
constexpr int kSides[][2] = {{RUA, LUA}, {RLA, LLA}, {RH, LH}, {RUL, LUL}, {RLL, LLL}, {RF, LF}};

}  // namespace

TEST(CodedAnimations, EachFigureAnimationQueuesItsShapeOnTheRightParts) {
    struct Case {
        Fn fn;
        int keyFrames, steps;
        bool cycle;
        int first, last;
    } cases[] = {
        {ani_personKickLeft, 5, 10, false, ROOT, RHI},
        {ani_personKickRight, 4, 15, false, ROOT, RHI},
        {ani_personSkip, 2, 30, true, ROOT, RHI},
        {ani_personTwoStepCycle, 2, 30, true, TORSO, LF},
        {ani_personFourStepCycle, 4, 10, true, TORSO, LF},
    };
    for (const Case& c : cases) {
        resetAppState();
        Person& p = app.persons[0];
        p.kfaPos.pushKeyFrame(1, 2, 3, ABS, 50);  // an older queue is replaced
        c.fn(p);
        EXPECT_EQ(p.kfaPos.numKeyFrames, 0) << "the figure never travels";
        EXPECT_EQ(p.kfaPos.cycle, c.cycle);
        for (int i = 0; i < BODY_PART_COUNT; i++) {
            const KeyFrameAnimation& a = p.part[i].kfa;
            const bool listed = i >= c.first && i <= c.last;
            ASSERT_EQ(a.numKeyFrames, listed ? c.keyFrames : 0) << "part " << i;
            EXPECT_EQ(a.cycle, c.cycle);
            for (int k = 0; k < a.numKeyFrames; k++) {
                EXPECT_FLOAT_EQ(a.keyFrames[k].steps, c.steps);
                EXPECT_EQ(a.keyFrames[k].mode, ABS);
            }
        }
    }
}

TEST(CodedAnimations, ConsoleTextsHaveNoLineEnd) {
    resetAppState();
    Person& p = app.persons[0];
    EXPECT_EQ(printed(ani_personKickLeft, p), "CODED ANIMATION: ani_personKickLeft()");
    EXPECT_EQ(printed(ani_personKickRight, p), "CODED ANIMATION: ani_personKickRight()");
    EXPECT_EQ(printed(ani_personSkip, p), "CODED ANIMATION: ani_personSkip()");
    EXPECT_EQ(printed(ani_personTwoStepCycle, p), "");
    EXPECT_EQ(printed(ani_personFourStepCycle, p), "");

    for (void (*tour)(Camera&) : {+[](Camera& c) { ani_cameraRotate(c, 200); }, +[](Camera& c) { ani_cameraFlyBy(c); },
                                  +[](Camera& c) { ani_cameraLowOrbit(c, 200); }}) {
        testing::internal::CaptureStdout();
        tour(app.camera);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "CODED ANIMATION: ani_cameraRotate()");
    }
}

TEST(CodedAnimations, KicksStartOrEndInTheStandingPose) {
    resetAppState();
    Person& p = app.persons[0];
    ani_personKickLeft(p);
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        expectSame(key(p.part[i].kfa, 0), standing(i), "kick left kf1 part " + std::to_string(i));
        expectSame(key(p.part[i].kfa, 4), standing(i), "kick left kf5 part " + std::to_string(i));
    }
    expectSame(key(p.part[LUL].kfa, 3), {110, -5, -25}, "left leg at the top of the kick");
    expectSame(key(p.part[ROOT].kfa, 1), {2, 9, 4}, "root leans into the kick");

    ani_personKickRight(p);
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        expectSame(key(p.part[i].kfa, 3), standing(i), "kick right kf4 part " + std::to_string(i));
        if (i != HEAD && i != LH)
            expectSame(key(p.part[i].kfa, 0), standing(i), "kick right kf1 part " + std::to_string(i));
    }
    expectSame(key(p.part[HEAD].kfa, 0), {10, 0, 3}, "kick right nods first");
    expectSame(key(p.part[RF].kfa, 2), {-24.6815f, 0, -10.0705f}, "right foot extended");
    expectSame(key(p.part[LLL].kfa, 2), {1.863f, -4.6575f, 7.452f}, "standing knee");
}

TEST(CodedAnimations, StepCyclesMirrorLeftAndRight) {
    resetAppState();
    Person& p = app.persons[0];
    ani_personTwoStepCycle(p);
    for (auto [r, l] : kSides) {
        Triple3 rightSecond = key(p.part[r].kfa, 1);
        if (r == RUL) rightSecond.z = 0;  // the right thigh keeps z = -1 in both steps
        expectSame(rightSecond, key(p.part[l].kfa, 0), "two-step right kf2 = left kf1, part " + std::to_string(r));
        expectSame(key(p.part[l].kfa, 1), key(p.part[r].kfa, 0), "two-step left kf2 = right kf1, part " + std::to_string(l));
    }
    EXPECT_FLOAT_EQ(p.part[RUL].kfa.keyFrames[1].z, -1);

    ani_personFourStepCycle(p);
    for (auto [r, l] : kSides) {
        for (int k = 0; k < 2; k++) {
            expectSame(key(p.part[r].kfa, k + 2), key(p.part[l].kfa, k), "four-step part " + std::to_string(r));
            expectSame(key(p.part[l].kfa, k + 2), key(p.part[r].kfa, k), "four-step part " + std::to_string(l));
        }
    }
    for (int i : {TORSO, STOMK, PELVIS, NECK, HEAD}) {
        expectSame(key(p.part[i].kfa, 2), key(p.part[i].kfa, 0), "spine repeats");
        expectSame(key(p.part[i].kfa, 3), key(p.part[i].kfa, 1), "spine repeats");
    }
    expectSame(key(p.part[RLL].kfa, 1), {100, 0, 8}, "knee lifted high");
}

TEST(CodedAnimations, StepCyclesLeaveRootAndHandItemsAlone) {
    resetAppState();
    Person& p = app.persons[0];
    p.part[ROOT].rotation[1] = 45;  // turned by hand
    p.part[RHI].rotation[0] = 30;
    ani_personTwoStepCycle(p);
    for (int f = 0; f < 50; f++) p.stepAnimationBy(app.playRate);
    EXPECT_FLOAT_EQ(p.part[ROOT].rotation[1], 45);
    EXPECT_FLOAT_EQ(p.part[RHI].rotation[0], 30);
    EXPECT_NE(p.part[RUA].rotation[0], 170) << "the arms swing";
}

TEST(CodedAnimations, StartingAgainRestartsFromThePresentPose) {
    resetAppState();
    Person& p = app.persons[0];
    ani_personSkip(p);
    for (int f = 0; f < 17; f++) p.stepAnimationBy(app.playRate);
    const float midSwing = p.part[STOMK].rotation[2];
    ani_personSkip(p);
    EXPECT_EQ(p.part[STOMK].kfa.numKeyFrames, 2);
    EXPECT_FLOAT_EQ(p.part[STOMK].kfa.origin.z, midSwing);
    EXPECT_FLOAT_EQ(p.part[STOMK].kfa.currentTime, 0);
    p.stepAnimationBy(app.playRate);  // first frame glides from the present pose
    EXPECT_NEAR(p.part[STOMK].rotation[2], midSwing + (-11 - midSwing) / 30.0f, 1e-4);
}

TEST(CodedAnimations, CameraRotateCirclesTheEyeAndKeepsTheTarget) {
    resetAppState();
    Camera& c = app.camera;
    c.eye[0] = 3, c.eye[1] = 4, c.eye[2] = 5;
    c.target[0] = c.target[1] = c.target[2] = 1;
    c.targetAnim.pushKeyFrame(9, 9, 9, ABS, 40);  // a previous tour
    ani_cameraRotate(c, 120);
    EXPECT_EQ(c.eyeAnim.numKeyFrames, 8);
    EXPECT_EQ(c.targetAnim.numKeyFrames, 0);
    EXPECT_TRUE(c.eyeAnim.cycle);
    EXPECT_TRUE(c.targetAnim.cycle);
    EXPECT_FALSE(c.animationOn) << "the key switches animation on, not the tour";
    expectSame({c.eyeAnim.origin.x, c.eyeAnim.origin.y, c.eyeAnim.origin.z}, {3, 4, 5}, "eye origin");
    expectSame({c.targetAnim.origin.x, c.targetAnim.origin.y, c.targetAnim.origin.z}, {1, 1, 1}, "target origin");
    for (int k = 0; k < 8; k++) {
        const KeyFrame& f = c.eyeAnim.keyFrames[k];
        EXPECT_EQ(f.mode, CAMERA_TOUR_MODE);
        EXPECT_FLOAT_EQ(f.steps, 120);
        EXPECT_FLOAT_EQ(f.y, 5);
        const double r = std::hypot(f.x, f.z);
        EXPECT_TRUE(std::abs(r - 28) < 1e-4 || std::abs(r - std::hypot(20, 20)) < 1e-4) << r;
        // Eight points a turn: consecutive ones are 45 degrees apart.
        const KeyFrame& g = c.eyeAnim.keyFrames[(k + 1) % 8];
        const double turn = std::remainder(std::atan2(g.z, g.x) - std::atan2(f.z, f.x), 2 * M_PI);
        EXPECT_NEAR(std::abs(turn), M_PI / 4, 1e-6);
    }
}

TEST(CodedAnimations, FlyByAndLowOrbitQueueEyeAndTargetInStep) {
    resetAppState();
    Camera& c = app.camera;
    ani_cameraRotate(c, 200);
    ani_cameraFlyBy(c);
    ASSERT_EQ(c.eyeAnim.numKeyFrames, 9);
    ASSERT_EQ(c.targetAnim.numKeyFrames, 9);
    expectSame(key(c.eyeAnim, 0), {50, 80, 1000}, "fly-by starts far out");
    expectSame(key(c.targetAnim, 0), {0, 50, 0}, "looking above the stage");
    expectSame(key(c.eyeAnim, 8), {-750, 20, 20}, "and leaves to the left");
    for (int k = 0; k < 9; k++) {
        EXPECT_FLOAT_EQ(c.eyeAnim.keyFrames[k].steps, 200);
        EXPECT_FLOAT_EQ(c.targetAnim.keyFrames[k].steps, 200);
    }

    ani_cameraLowOrbit(c, 50);
    ASSERT_EQ(c.eyeAnim.numKeyFrames, 15);
    ASSERT_EQ(c.targetAnim.numKeyFrames, 15);
    const int expected[15] = {50, 50, 50, 50, 50, 50, 50, 50, 50, 10, 20, 30, 50, 50, 50};
    for (int k = 0; k < 15; k++) {
        EXPECT_FLOAT_EQ(c.eyeAnim.keyFrames[k].steps, expected[k]) << k;
        EXPECT_FLOAT_EQ(c.targetAnim.keyFrames[k].steps, expected[k]) << k;
        EXPECT_EQ(c.targetAnim.keyFrames[k].mode, CAMERA_TOUR_MODE);
    }
    expectSame(key(c.eyeAnim, 8), {9.5f, -3, -9.5f}, "close to person 1");
    expectSame(key(c.targetAnim, 8), {10, 0, -10}, "looking at person 1");
    expectSame(key(c.targetAnim, 12), {-10, 0, -10}, "then at person 2");
}
