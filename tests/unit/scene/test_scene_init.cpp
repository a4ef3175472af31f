// The scene's first state: where the persons stand and how they are
// dressed, and the light's path.
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "scene/scene_init.h"

namespace {

void expectAt(int i, float x, float y, float z) {
    const float* p = app.persons[i].position;
    EXPECT_FLOAT_EQ(p[0], x) << "person " << i;
    EXPECT_FLOAT_EQ(p[1], y) << "person " << i;
    EXPECT_FLOAT_EQ(p[2], z) << "person " << i;
}

}  // namespace

TEST(SceneInit, PersonsStandOnTheStageAndInFourRowsBehindIt) {
    resetAppState();
    placeAndDressPersons();
    expectAt(0, 0, 0, 0);
    expectAt(1, 10, 0, -10);
    expectAt(2, -10, 0, -10);
    expectAt(3, 20, 0, -20);
    expectAt(4, -20, 0, -20);
    expectAt(5, 50, 0, -30);
    expectAt(14, -40, 0, -30);
    expectAt(15, 50, 0, -40);
    expectAt(44, -40, 0, -60);
    // No two persons share a place.
    for (int i = 0; i < MAX_PERSONS; i++)
        for (int j = i + 1; j < MAX_PERSONS; j++) {
            const float* a = app.persons[i].position;
            const float* b = app.persons[j].position;
            EXPECT_FALSE(a[0] == b[0] && a[2] == b[2]) << i << " and " << j;
        }
    EXPECT_EQ(app.numPersons, 1);
}

TEST(SceneInit, PersonsOneToFourAreDressedAsTheirRoles) {
    resetAppState();
    placeAndDressPersons();
    const Person* p = app.persons;
    EXPECT_TRUE(p[0].isMale);
    EXPECT_FLOAT_EQ(p[0].scale, 1.0f);
    EXPECT_EQ(p[0].skin, TEX_SKIN_LIGHT);
    EXPECT_FALSE(p[1].isMale);
    EXPECT_FLOAT_EQ(p[1].scale, 1.0f);
    EXPECT_EQ(p[1].skin, TEX_SKIN_LIGHT);
    EXPECT_FALSE(p[2].isMale);
    EXPECT_FLOAT_EQ(p[2].scale, 0.9f);
    EXPECT_EQ(p[2].skin, TEX_SKIN_DARK);
    EXPECT_TRUE(p[3].isMale);
    EXPECT_EQ(p[3].skin, TEX_SKIN_DARK);
    EXPECT_TRUE(p[4].isMale);
    EXPECT_FLOAT_EQ(p[4].scale, 0.9f);
    EXPECT_EQ(p[4].skin, TEX_SKIN_LIGHT);
    for (int i = 5; i < MAX_PERSONS; i++) {
        EXPECT_TRUE(p[i].isMale) << i;
        EXPECT_FLOAT_EQ(p[i].scale, 1.0f) << i;
        EXPECT_EQ(p[i].skin, TEX_SKIN_LIGHT) << i;
    }
    // The dark female's face comes from the dark female face slot.
    EXPECT_EQ(p[2].part[HEAD].texture, TEX_SKIN_DARK_FACE_FEMALE);
}

TEST(SceneInit, TheLightCyclesThroughItsSixKeyframes) {
    resetAppState();
    setLightPath();
    const KeyFrameAnimation& light = app.sceneLight;
    EXPECT_EQ(light.numKeyFrames, 6);
    EXPECT_TRUE(light.cycle);
    EXPECT_FLOAT_EQ(light.value[0], 0);
    EXPECT_FLOAT_EQ(light.value[1], 5);
    EXPECT_FLOAT_EQ(light.value[2], -5);
    EXPECT_FLOAT_EQ(light.keyFrames[0].x, 10);
    EXPECT_FLOAT_EQ(light.keyFrames[3].y, 20);
    EXPECT_FLOAT_EQ(light.keyFrames[5].x, 30);
    EXPECT_FLOAT_EQ(light.keyFrames[5].z, -20);
    float total = 0;
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(light.keyFrames[i].mode, ABS);
        total += light.keyFrames[i].steps;
    }
    EXPECT_FLOAT_EQ(total, 5000);

    // The first 1000 steps glide from the start to the first keyframe.
    app.sceneLight.advance(1000);
    EXPECT_NEAR(app.sceneLight.value[0], 10, 1e-3);
    EXPECT_NEAR(app.sceneLight.value[1], 10, 1e-3);
    EXPECT_NEAR(app.sceneLight.value[2], -10, 1e-3);
    // It never stops: past the path's end it goes round again.
    for (int i = 0; i < 10000; i++) app.sceneLight.advance(1);
    EXPECT_GE(app.sceneLight.loopCount, 1);
}
