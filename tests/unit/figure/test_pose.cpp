// Pose update and posing: matrices, the per-frame step, posing at a keyframe,
// the joint wrap and limits, movement along the heading.
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "base/platform.h"
#include "figure/person.h"

namespace {
int redisplays = 0;
void countRedisplay() { redisplays++; }
}  // namespace

TEST(PartTransform, QuarterTurnAboutXMapsYOntoZAtTheJoint) {
    Person p;
    p.part[NECK].rotation[0] = 90;
    p.part[NECK].setJointOffset(0, 2, 0);
    p.computePartTransform(NECK);
    const float expect[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 2, 0, 1};
    for (int i = 0; i < 16; i++) EXPECT_NEAR(p.part[NECK].transform[i], expect[i], 1e-6) << i;
}

TEST(PartTransform, RootTranslatesByPositionNotItsJointOffset) {
    Person p;
    p.setPosition(1, 2, 3);
    p.part[ROOT].setJointOffset(9, 9, 9);
    p.updateTransform(ROOT);
    EXPECT_FLOAT_EQ(p.part[ROOT].transform[12], 1);
    EXPECT_FLOAT_EQ(p.part[ROOT].transform[13], 2);
    EXPECT_FLOAT_EQ(p.part[ROOT].transform[14], 3);
}

TEST(PartTransform, UpdateRequestsARedisplay) {
    Person p;
    platform::setRedisplayHandler(countRedisplay);
    redisplays = 0;
    p.updateTransform(HEAD);
    platform::resetSeams();
    EXPECT_EQ(redisplays, 1);
}

TEST(Posing, AddRotationWrapsThenClamps) {
    BodyPart b;
    b.addRotation(370, 0);
    EXPECT_FLOAT_EQ(b.rotation[0], 10);
    b.setRotation(0, 0, 0);
    b.addRotation(-370, 0);
    EXPECT_FLOAT_EQ(b.rotation[0], -10);
    b.setRotation(0, 0, 0);
    b.addRotation(360, 1);
    EXPECT_FLOAT_EQ(b.rotation[1], 360);

    Person p;
    p.selectPart(HEAD);
    for (int i = 0; i < 20; i++) p.rotateSelectedPart(4, 0);
    EXPECT_FLOAT_EQ(p.part[HEAD].rotation[0], 40);  // held at the limit
    p.part[HEAD].limitsOn = false;
    p.rotateSelectedPart(4, 0);
    EXPECT_FLOAT_EQ(p.part[HEAD].rotation[0], 44);
}

TEST(Posing, HandTurnDoesNotReseedTheAnimator) {
    Person p;
    p.selectPart(NECK);
    p.rotateSelectedPart(8, 1);
    EXPECT_FLOAT_EQ(p.part[NECK].kfa.value[1], 0);
}

TEST(Posing, MovementFollowsTheHeading) {
    Person p;
    p.moveForward(2, 1);
    EXPECT_NEAR(p.position[2], 2, 1e-5);
    EXPECT_NEAR(p.position[0], 0, 1e-5);
    p.moveAlongHeading(1, -90, 1);  // to its left side, +x
    EXPECT_NEAR(p.position[0], 1, 1e-5);
    p.turnFigure(90, 1);            // now facing +x
    p.moveForward(3, 1);
    EXPECT_NEAR(p.position[0], 4, 1e-4);
    EXPECT_NEAR(p.position[2], 2, 1e-4);
    EXPECT_FLOAT_EQ(p.part[ROOT].transform[12], p.position[0]);
    p.movePosition(0.3f, 1);
    EXPECT_FLOAT_EQ(p.position[1], 0.3f);
}

TEST(StepAnimation, PartsWithKeyframesFollowAndOthersKeepTheirAngles) {
    resetAppState();
    Person& p = app.persons[0];
    p.part[NECK].kfa.pushKeyFrame(20, 0, 0, ABS, 10);
    p.part[HEAD].rotation[1] = 12;  // hand-set, no keyframes
    p.stepAnimationBy(app.playRate);
    EXPECT_FLOAT_EQ(p.part[NECK].rotation[0], 2);
    EXPECT_FLOAT_EQ(p.part[HEAD].rotation[1], 12);
    // A hand turn of an animated part is undone next frame.
    p.part[NECK].rotation[0] = -25;
    p.stepAnimationBy(app.playRate);
    EXPECT_FLOAT_EQ(p.part[NECK].rotation[0], 4);
}

TEST(StepAnimation, NothingMovesWhileNotAnimating) {
    resetAppState();
    Person& p = app.persons[0];
    p.kfaPos.pushKeyFrame(0, 0, 10, ABS, 10);
    p.setAnimate(false);
    p.stepAnimationBy(app.playRate);
    EXPECT_FLOAT_EQ(p.kfaPos.currentTime, 0);
    EXPECT_FLOAT_EQ(p.position[2], 0);
    p.setAnimate(true);
    app.playRate = 2;
    p.stepAnimationBy(app.playRate);
    EXPECT_FLOAT_EQ(p.position[2], 2);
    EXPECT_FLOAT_EQ(p.part[ROOT].transform[14], 2);
}

TEST(PoseAtKeyFrame, UnequalQueuesHoldTheLastKeyframeTheyReached) {
    Person p;
    for (int j = 0; j < 4; j++) p.kfaPos.pushKeyFrame(float(j), 0, 0, ABS, 10);
    p.part[LUA].kfa.pushKeyFrame(100, 0, 0, ABS, 10);
    p.part[LUA].kfa.pushKeyFrame(101, 0, 0, ABS, 10);
    const float rua = p.part[RUA].rotation[0];
    for (int j = 0; j < 4; j++) {
        p.poseAtKeyFrame(j);
        EXPECT_FLOAT_EQ(p.position[0], float(j));
        EXPECT_FLOAT_EQ(p.part[LUA].rotation[0], j == 0 ? 100.f : 101.f) << j;
        EXPECT_FLOAT_EQ(p.part[RUA].rotation[0], rua);
    }
    p.poseAtTime(15);
    EXPECT_FLOAT_EQ(p.kfaPos.currentTime, 15);
    EXPECT_EQ(p.part[LUA].kfa.currentIndex, 1);
}
