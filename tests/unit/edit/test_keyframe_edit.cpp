// Keyframe edits on a figure: going to, replacing, inserting, deleting and
// retiming keyframes, on queues of equal length (recorded with F7) and of
// unequal length (as files may hold), and the figure's place in its queue.
#include <gtest/gtest.h>

#include "edit/keyframe_edit.h"
#include "figure/person.h"

namespace {

// Records n poses; pose k has the head turned to 10 * (k + 1) degrees and
// the figure standing at x = k.
void recordPoses(Person& p, int n) {
    for (int k = 0; k < n; k++) {
        p.part[HEAD].rotation[1] = 10.0f * static_cast<float>(k + 1);
        p.position[0] = static_cast<float>(k);
        p.pushPoseKeyFrame(20);
    }
}

float headTarget(const Person& p, int j) { return p.part[HEAD].kfa.keyFrames[j].y; }

class KeyFrameEdit : public testing::Test {
protected:
    Person p;
};

}  // namespace

TEST_F(KeyFrameEdit, GoingToAKeyFramePausesAndPosesThereWithinTheQueue) {
    recordPoses(p, 3);
    EXPECT_EQ(currentKeyFrame(p), 0);
    goToKeyFrame(p, 1);
    EXPECT_FALSE(p.animating);
    EXPECT_EQ(currentKeyFrame(p), 1);
    EXPECT_FLOAT_EQ(p.part[HEAD].rotation[1], 20);
    EXPECT_FLOAT_EQ(p.position[0], 1);
    goToKeyFrame(p, 7);
    EXPECT_EQ(currentKeyFrame(p), 2) << "past the end goes to the last";
    goToKeyFrame(p, -1);
    EXPECT_EQ(currentKeyFrame(p), 0);
    EXPECT_FLOAT_EQ(keyFrameStart(p, 2), 40);
    EXPECT_FLOAT_EQ(animationLength(p), 60);
}

TEST_F(KeyFrameEdit, ReplaceTakesThePoseAndKeepsTheLength) {
    recordPoses(p, 3);
    changeKeyFrameLength(p, 5);  // keyframe 0 now 25 steps
    goToKeyFrame(p, 0);
    p.part[HEAD].rotation[1] = -33;
    ASSERT_TRUE(replaceKeyFrame(p));
    EXPECT_FLOAT_EQ(headTarget(p, 0), -33);
    EXPECT_FLOAT_EQ(p.part[HEAD].kfa.keyFrames[0].steps, 25);
    EXPECT_FLOAT_EQ(headTarget(p, 1), 20) << "the others stay";
    EXPECT_FLOAT_EQ(p.part[HEAD].rotation[1], -33) << "posed at the replaced keyframe";
    goToKeyFrame(p, 2);
    scrubTo(p, 10);
    EXPECT_EQ(currentKeyFrame(p), 0) << "its place on the time line is kept";
}

TEST_F(KeyFrameEdit, InsertPutsThePoseAfterTheCurrentOneInEveryQueue) {
    recordPoses(p, 3);
    goToKeyFrame(p, 0);
    p.part[HEAD].rotation[1] = 15;
    ASSERT_TRUE(insertKeyFrame(p));
    EXPECT_EQ(currentKeyFrame(p), 1);
    const float heads[] = {10, 15, 20, 30};
    for (int j = 0; j < 4; j++) EXPECT_FLOAT_EQ(headTarget(p, j), heads[j]) << j;
    EXPECT_EQ(p.kfaPos.numKeyFrames, 4);
    EXPECT_EQ(p.part[LF].kfa.numKeyFrames, 4);
    EXPECT_FLOAT_EQ(p.kfaPos.keyFrames[2].x, 1) << "the position queue shifted too";
    EXPECT_FLOAT_EQ(animationLength(p), 80);

    Person empty;
    ASSERT_TRUE(insertKeyFrame(empty)) << "with no keyframes it records, as F7 does";
    EXPECT_EQ(keyFrameCount(empty), 1);
    EXPECT_FLOAT_EQ(empty.part[TORSO].kfa.keyFrames[0].steps, 20);
}

TEST_F(KeyFrameEdit, AFullQueueRefusesAnInsert) {
    for (int k = 0; k < KEYFRAME_CAPACITY; k++) p.pushPoseKeyFrame(2);
    goToKeyFrame(p, 3);
    EXPECT_FALSE(insertKeyFrame(p));
    EXPECT_EQ(keyFrameCount(p), KEYFRAME_CAPACITY);
}

TEST_F(KeyFrameEdit, DeleteGoesToThePreviousKeyFrameAndEmptiesCleanly) {
    recordPoses(p, 3);
    goToKeyFrame(p, 1);
    ASSERT_TRUE(deleteKeyFrame(p));
    EXPECT_EQ(keyFrameCount(p), 2);
    EXPECT_FLOAT_EQ(headTarget(p, 0), 10);
    EXPECT_FLOAT_EQ(headTarget(p, 1), 30);
    EXPECT_EQ(currentKeyFrame(p), 0);
    EXPECT_FLOAT_EQ(p.part[HEAD].rotation[1], 10);

    deleteKeyFrame(p);  // the first: the figure goes to the new first
    EXPECT_EQ(currentKeyFrame(p), 0);
    EXPECT_FLOAT_EQ(p.part[HEAD].rotation[1], 30);
    deleteKeyFrame(p);
    EXPECT_EQ(keyFrameCount(p), 0);
    EXPECT_EQ(currentKeyFrame(p), -1);
    EXPECT_FALSE(deleteKeyFrame(p));
    // An emptied queue takes new keyframes and plays them.
    p.setAnimate(true);
    recordPoses(p, 2);
    for (int i = 0; i < 30; i++) p.stepAnimationBy(1.0f);
    EXPECT_EQ(currentKeyFrame(p), 1);
}

TEST_F(KeyFrameEdit, LengthChangesInFivesAndNeverBelowTwo) {
    recordPoses(p, 2);
    goToKeyFrame(p, 1);
    changeKeyFrameLength(p, +KEYFRAME_LENGTH_STEP);
    EXPECT_FLOAT_EQ(p.kfaPos.keyFrames[1].steps, 25);
    EXPECT_FLOAT_EQ(p.part[RHI].kfa.keyFrames[1].steps, 25);
    EXPECT_FLOAT_EQ(p.kfaPos.currentTime, 45) << "posed at its new end";
    for (int i = 0; i < 6; i++) changeKeyFrameLength(p, -KEYFRAME_LENGTH_STEP);
    EXPECT_FLOAT_EQ(p.kfaPos.keyFrames[1].steps, 2);
    EXPECT_FLOAT_EQ(p.kfaPos.keyFrames[0].steps, 20);
}

// The position animator holds 4 keyframes, HEAD 2, every other part none:
// edits at index j touch only the queues that hold a keyframe j.
TEST_F(KeyFrameEdit, UnequalQueuesAreEditedOnlyWhereTheyHoldTheIndex) {
    for (int k = 0; k < 4; k++) p.kfaPos.pushKeyFrame(static_cast<float>(k), 0, 0, ABS, 10);
    p.part[HEAD].kfa.pushKeyFrame(0, 11, 0, ABS, 10);
    p.part[HEAD].kfa.pushKeyFrame(0, 22, 0, ABS, 10);
    EXPECT_EQ(keyFrameCount(p), 4) << "the longest queue stands for the figure";

    goToKeyFrame(p, 1);
    goToKeyFrame(p, 3);
    EXPECT_FLOAT_EQ(p.position[0], 3);
    EXPECT_FLOAT_EQ(p.part[HEAD].rotation[1], 22) << "HEAD keeps the last keyframe it reached";
    p.part[HEAD].rotation[1] = 99;
    replaceKeyFrame(p);
    EXPECT_EQ(p.part[HEAD].kfa.numKeyFrames, 2);
    EXPECT_FLOAT_EQ(headTarget(p, 1), 22);
    EXPECT_EQ(p.part[TORSO].kfa.numKeyFrames, 0);

    insertKeyFrame(p);
    EXPECT_EQ(p.kfaPos.numKeyFrames, 5);
    EXPECT_EQ(p.part[HEAD].kfa.numKeyFrames, 2);

    goToKeyFrame(p, 1);
    deleteKeyFrame(p);
    EXPECT_EQ(p.kfaPos.numKeyFrames, 4);
    EXPECT_EQ(p.part[HEAD].kfa.numKeyFrames, 1);
    EXPECT_FLOAT_EQ(headTarget(p, 0), 11);
    EXPECT_LT(p.part[HEAD].kfa.currentIndex, 1) << "its index stays inside its queue";
    EXPECT_FLOAT_EQ(p.kfaPos.keyFrames[1].x, 2);
}

TEST_F(KeyFrameEdit, ScrubbingPausesAndPosesAtTheTimeWithinTheQueue) {
    recordPoses(p, 3);
    goToKeyFrame(p, 2);
    p.setAnimate(true);
    scrubTo(p, 30);
    EXPECT_FALSE(p.animating);
    EXPECT_FLOAT_EQ(p.kfaPos.currentTime, 30);
    EXPECT_EQ(currentKeyFrame(p), 1);
    EXPECT_GT(p.part[HEAD].rotation[1], 10);
    EXPECT_LT(p.part[HEAD].rotation[1], 20);
    scrubTo(p, 500);
    EXPECT_FLOAT_EQ(p.kfaPos.currentTime, 60) << "clamped to the end";
}
