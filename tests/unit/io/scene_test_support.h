// scene_test_support.h - compares two scenes field by field, naming the
// first field that differs.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "io/scene_file.h"

inline void expectTripleEq(const float a[3], const float b[3], const std::string& what) {
    for (int k = 0; k < 3; k++) EXPECT_EQ(a[k], b[k]) << what << "[" << k << "]";
}

inline void expectAnimatorsEqual(const KeyFrameAnimation& a, const KeyFrameAnimation& b, const std::string& what) {
    expectTripleEq(a.value, b.value, what + " value");
    EXPECT_EQ(a.origin.x, b.origin.x) << what;
    EXPECT_EQ(a.origin.y, b.origin.y) << what;
    EXPECT_EQ(a.origin.z, b.origin.z) << what;
    EXPECT_EQ(a.origin.mode, b.origin.mode) << what;
    EXPECT_EQ(a.originSet, b.originSet) << what;
    ASSERT_EQ(a.numKeyFrames, b.numKeyFrames) << what;
    for (int k = 0; k < a.numKeyFrames; k++) {
        const KeyFrame &x = a.keyFrames[k], &y = b.keyFrames[k];
        EXPECT_TRUE(x.x == y.x && x.y == y.y && x.z == y.z && x.mode == y.mode && x.steps == y.steps)
            << what << " key " << k;
    }
    EXPECT_EQ(a.currentIndex, b.currentIndex) << what;
    EXPECT_EQ(a.currentTime, b.currentTime) << what;
    EXPECT_EQ(a.segmentTime, b.segmentTime) << what;
    EXPECT_EQ(a.loopCount, b.loopCount) << what;
    EXPECT_EQ(a.cycle, b.cycle) << what;
    EXPECT_EQ(a.startFromOrigin, b.startFromOrigin) << what;
}

inline void expectScenesEqual(const Scene& a, const Scene& b) {
    ASSERT_EQ(a.numPersons, b.numPersons);
    EXPECT_EQ(a.selectedPerson, b.selectedPerson);
    for (int i = 0; i < a.numPersons; i++) {
        const SceneFigure &f = a.persons[i], &g = b.persons[i];
        const std::string who = "person " + std::to_string(i);
        EXPECT_EQ(f.isMale, g.isMale) << who;
        EXPECT_EQ(f.scale, g.scale) << who;
        EXPECT_EQ(f.skin, g.skin) << who;
        expectTripleEq(f.colour, g.colour, who + " colour");
        EXPECT_EQ(f.alpha, g.alpha) << who;
        EXPECT_EQ(f.leftHandItem, g.leftHandItem) << who;
        EXPECT_EQ(f.rightHandItem, g.rightHandItem) << who;
        EXPECT_EQ(f.showTrail, g.showTrail) << who;
        EXPECT_EQ(f.trailAlpha, g.trailAlpha) << who;
        EXPECT_EQ(f.trailFade, g.trailFade) << who;
        expectTripleEq(f.position, g.position, who + " position");
        EXPECT_EQ(f.selectedPart, g.selectedPart) << who;
        EXPECT_EQ(f.animating, g.animating) << who;
        expectAnimatorsEqual(f.kfaPos, g.kfaPos, who + " pos");
        for (int k = 0; k < BODY_PART_COUNT; k++) {
            expectTripleEq(f.part[k].rotation, g.part[k].rotation, who + " rotation " + kBodyPartLabels[k]);
            expectAnimatorsEqual(f.kfa[k], g.kfa[k], who + " " + kBodyPartLabels[k]);
        }
    }
    expectTripleEq(a.eye, b.eye, "eye");
    expectTripleEq(a.target, b.target, "target");
    EXPECT_EQ(a.cameraMode, b.cameraMode);
    EXPECT_EQ(a.cameraAnimationOn, b.cameraAnimationOn);
    expectAnimatorsEqual(a.eyeAnim, b.eyeAnim, "eye tour");
    expectAnimatorsEqual(a.targetAnim, b.targetAnim, "target tour");
    EXPECT_EQ(a.playRate, b.playRate);
    EXPECT_EQ(a.sceneClock, b.sceneClock);
    EXPECT_EQ(a.wireframeOn, b.wireframeOn);
    EXPECT_EQ(a.lightingOn, b.lightingOn);
    EXPECT_EQ(a.texturesOn, b.texturesOn);
    EXPECT_EQ(a.animateOn, b.animateOn);
    EXPECT_EQ(a.showTargetMarker, b.showTargetMarker);
    EXPECT_EQ(a.orthographicView, b.orthographicView);
    for (int k = 0; k < 4; k++) EXPECT_EQ(a.lightEnabled[k], b.lightEnabled[k]) << "light " << k;
    expectAnimatorsEqual(a.sceneLight, b.sceneLight, "light");
    EXPECT_EQ(a.musicFile, b.musicFile);
    EXPECT_EQ(a.musicOffset, b.musicOffset);
}
