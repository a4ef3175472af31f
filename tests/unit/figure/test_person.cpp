// The figure model: tree, proportions, joints, clothing, reset and animators.
#include <gtest/gtest.h>

#include <set>

#include "core/app_state.h"
#include "figure/person.h"
#include "figure/skeleton.h"

namespace {

void visit(int part, std::multiset<int>& seen) {
    for (; part >= 0; part = skeleton::nextSibling(part)) {
        seen.insert(part);
        visit(skeleton::firstChild(part), seen);
    }
}

float jointY(const Person& p, int i) { return p.part[i].jointOffset[1]; }

}  // namespace

TEST(PersonSkeleton, TreeFromRootVisitsAllTwentyPartsOnce) {
    Person p;
    std::multiset<int> seen;
    visit(ROOT, seen);
    ASSERT_EQ(seen.size(), 20u);
    for (int i = 0; i < BODY_PART_COUNT; i++) EXPECT_EQ(seen.count(i), 1u) << i;
    EXPECT_EQ(skeleton::nextSibling(STOMK), RUL);
    EXPECT_EQ(skeleton::nextSibling(NECK), RUA);
    EXPECT_EQ(skeleton::nextSibling(LUA), -1);
    EXPECT_EQ(skeleton::firstChild(RH), RHI);
    EXPECT_EQ(skeleton::firstChild(HEAD), -1);
    // Depth-first: every part after its parent, and a subtree unbroken.
    for (int k = 1; k < BODY_PART_COUNT; k++) {
        const int i = skeleton::kOrder[k];
        int before = -1;
        for (int j = 0; j < k; j++)
            if (skeleton::kOrder[j] == skeleton::kParent[i]) before = j;
        ASSERT_GE(before, 0) << kBodyPartLabels[i] << " before its parent";
        for (int j = before + 1; j < k; j++)
            EXPECT_GT(skeleton::depth(skeleton::kOrder[j]), skeleton::depth(skeleton::kParent[i]))
                << kBodyPartLabels[i] << " apart from its parent's subtree";
    }
    EXPECT_EQ(p.part[HEAD].label, "HEAD");
    EXPECT_EQ(p.part[RHI].index, RHI);
}

TEST(PersonSkeleton, MaleJointsStackAtScaleOne) {
    Person p;
    EXPECT_FLOAT_EQ(jointY(p, STOMK), 1.2f);
    EXPECT_FLOAT_EQ(jointY(p, TORSO), 2.0f);
    EXPECT_FLOAT_EQ(jointY(p, NECK), 2.0f);
    EXPECT_FLOAT_EQ(jointY(p, HEAD), 0.6f + 0.26f);
    EXPECT_FLOAT_EQ(p.part[RUA].jointOffset[0], -1.5f);
    EXPECT_FLOAT_EQ(p.part[LUL].jointOffset[0], 0.9f);
    EXPECT_FLOAT_EQ(p.part[RHI].jointOffset[0], 0.3f);
    EXPECT_FLOAT_EQ(p.part[LHI].jointOffset[0], -0.3f);
}

TEST(PersonSkeleton, FemaleProportionsAndTheUpperArmOffset) {
    Person p;
    p.setGender(false, 1.0f);
    EXPECT_FLOAT_EQ(p.part[RUA].jointOffset[0], -1.25f);
    EXPECT_FLOAT_EQ(p.part[RUA].jointOffset[1], 1.52f);
    EXPECT_FLOAT_EQ(p.part[RUA].jointOffset[2], 0);
    EXPECT_FLOAT_EQ(p.colour[0], 1);
    EXPECT_FLOAT_EQ(p.colour[2], 0);
    EXPECT_FLOAT_EQ(jointY(p, STOMK), 1.2f);
    EXPECT_FLOAT_EQ(jointY(p, TORSO), 1.7f);
}

TEST(PersonSkeleton, RepeatedScaleDoesNotCompound) {
    Person p;
    p.setGender(true, 0.9f);
    p.setGender(true, 0.9f);
    EXPECT_FLOAT_EQ(p.part[TORSO].length, 2 * 0.9f);
    EXPECT_FLOAT_EQ(jointY(p, NECK), 2 * 0.9f);
    EXPECT_FLOAT_EQ(p.part[LHI].length, 0);
    EXPECT_FLOAT_EQ(p.part[RHI].radius, 0);
    p.setGender(false, 0.9f);
    EXPECT_FLOAT_EQ(p.part[TORSO].length, 1.9f * 0.9f);
}

TEST(PersonClothing, SkinAndFaceSlotsFollowGenderAndSkin) {
    Person p;
    EXPECT_EQ(p.part[HEAD].texture, TEX_SKIN_LIGHT_FACE_MALE);
    EXPECT_EQ(p.part[RUA].texture, TEX_FABRIC_BLACK_SUIT_CUFF);
    EXPECT_EQ(p.part[RLL].texture, TEX_FABRIC_BLACK);
    EXPECT_EQ(p.torsoBox.faceTexture[0], TEX_FABRIC_BLACK_SUIT_FRONT);
    EXPECT_TRUE(p.torsoBox.useFaceTextures);

    p.setGender(false, 1.0f);
    p.setSkin(11);
    EXPECT_EQ(p.part[HEAD].texture, TEX_SKIN_DARK_FACE_FEMALE);
    for (int i : {NECK, RUA, LUA, RLA, LLA, RH, LH, RUL, LUL, RLL, LLL}) EXPECT_EQ(p.part[i].texture, 11) << i;
    EXPECT_EQ(p.part[RF].texture, TEX_FABRIC_BLACK);
    EXPECT_EQ(p.part[TORSO].texture, TEX_FABRIC_RED);
    EXPECT_EQ(p.torsoBox.faceTexture[0], TEX_FABRIC_RED);

    p.setSkin(12);  // any other value: that slot as skin, the dark face
    EXPECT_EQ(p.part[NECK].texture, 12);
    EXPECT_EQ(p.part[HEAD].texture, TEX_SKIN_DARK_FACE_FEMALE);

    Person q;
    q.part[NECK].texture = 99;
    q.setSkin(10);  // unchanged skin: nothing re-applied
    EXPECT_EQ(q.part[NECK].texture, 99);
}

TEST(PersonReset, StandingPoseSeedsEveryAnimator) {
    Person p;
    p.setPosition(3, 0, 4);
    p.part[RUA].rotation[0] = 20;
    p.pushPoseKeyFrame(20);
    p.setGender(false, 0.5f);
    p.showTrail = true;
    p.reset();
    EXPECT_FLOAT_EQ(p.position[0], 0);
    EXPECT_TRUE(p.isMale);
    EXPECT_FLOAT_EQ(p.scale, 1);
    EXPECT_FALSE(p.showTrail);
    EXPECT_EQ(p.kfaPos.numKeyFrames, 0);
    EXPECT_FLOAT_EQ(p.kfaPos.origin.x, 0);
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        EXPECT_EQ(p.part[i].kfa.numKeyFrames, 0);
        EXPECT_FALSE(p.part[i].kfa.cycle);
        EXPECT_FLOAT_EQ(p.part[i].kfa.value[0], p.part[i].rotation[0]);
        EXPECT_FLOAT_EQ(p.part[i].kfa.origin.x, p.part[i].rotation[0]);
    }
    EXPECT_FLOAT_EQ(p.part[RUA].rotation[0], 170);
    EXPECT_FLOAT_EQ(p.part[RF].rotation[0], -90);
    EXPECT_FLOAT_EQ(p.part[RUL].minRotation[0], 40);
    EXPECT_FLOAT_EQ(p.part[LUA].minRotation[2], -90);
}

TEST(PersonReset, ClearAllKeyFramesSeedsFromThePresentPose) {
    Person p;
    p.pushPoseKeyFrame(20);
    p.setCycle(true);
    p.position[2] = 7;
    p.part[HEAD].rotation[1] = 15;
    p.clearAllKeyFrames();
    EXPECT_FALSE(p.kfaPos.cycle);
    EXPECT_FLOAT_EQ(p.kfaPos.value[2], 7);
    EXPECT_FLOAT_EQ(p.part[HEAD].kfa.origin.y, 15);
    EXPECT_EQ(p.part[HEAD].kfa.numKeyFrames, 0);
}

TEST(StartScene, FortyFivePersonsExistFromProgramStart) {
    resetAppState();
    for (const Person& p : app.persons) {
        EXPECT_TRUE(p.isMale);
        EXPECT_FLOAT_EQ(p.part[TORSO].length, 2);
    }
    EXPECT_EQ(app.numPersons, 1);
}
