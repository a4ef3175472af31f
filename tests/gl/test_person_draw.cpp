// Drawing a person, probed with glReadPixels under a fixed orthographic
// camera: where the body lands, the eyes on the front, the chest of a female,
// the selection highlight with and without textures, held items, and the
// keyframe trail with the pose put back afterwards.
//
// The camera (gl_probe.h) looks at the figure's front unless a test turns it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "figure/person.h"
#include "gl_probe.h"
#include "scene/display.h"

namespace {

using namespace glprobe;

// World position of a part's joint: the product of the transforms from ROOT.
void jointPosition(const Person& p, const std::vector<int>& chain, float out[3]) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    for (int i : chain) glMultMatrixf(p.part[i].transform);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glPopMatrix();
    out[0] = m[12];
    out[1] = m[13];
    out[2] = m[14];
}

struct PoseRecord {
    float position[3];
    float rotation[BODY_PART_COUNT][3];
    float transform[BODY_PART_COUNT][16];
};

PoseRecord record(const Person& p) {
    PoseRecord r;
    for (int k = 0; k < 3; k++) r.position[k] = p.position[k];
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        for (int k = 0; k < 3; k++) r.rotation[i][k] = p.part[i].rotation[k];
        for (int k = 0; k < 16; k++) r.transform[i][k] = p.part[i].transform[k];
    }
    return r;
}

void expectSamePose(const PoseRecord& a, const PoseRecord& b, float tolerance) {
    for (int k = 0; k < 3; k++) EXPECT_NEAR(a.position[k], b.position[k], tolerance) << k;
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        for (int k = 0; k < 3; k++) EXPECT_NEAR(a.rotation[i][k], b.rotation[i][k], tolerance) << i;
        for (int k = 0; k < 16; k++) EXPECT_NEAR(a.transform[i][k], b.transform[i][k], tolerance) << i;
    }
}

void expectMatrixStackUntouched(const float before[16], GLint depthBefore) {
    float after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, depthBefore);
    for (int k = 0; k < 16; k++) EXPECT_FLOAT_EQ(after[k], before[k]) << k;
}

}  // namespace

TEST(PersonDraw, StandingMaleLandsWhereItsPartsAre) {
    resetAppState();
    app.texturesOn = false;
    Person& p = app.persons[0];
    beginFrame(FRONT, 1);
    float before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    p.draw(figureDrawSettings());
    expectMatrixStackUntouched(before, depth);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Head over chest over pelvis, legs apart, arms at the sides.
    EXPECT_TRUE(near(probe(0, 7.6f), kBlue)) << "head";
    EXPECT_TRUE(near(probe(-0.5f, 4.0f), kBlue)) << "chest";
    EXPECT_TRUE(near(probe(0, 0.6f), kBlue)) << "pelvis";
    EXPECT_TRUE(near(probe(-0.9f, -1.2f), kBlue)) << "right thigh";
    EXPECT_TRUE(near(probe(0.9f, -3.8f), kBlue)) << "left shin";
    EXPECT_TRUE(near(probe(-0.9f, -5.0f), kBlue)) << "right foot";
    EXPECT_TRUE(near(probe(1.6f, 3.3f), kBlue)) << "left upper arm";
    EXPECT_TRUE(near(probe(-1.6f, 3.3f), kBlue)) << "right upper arm";
    EXPECT_TRUE(near(probe(0, -2.5f), kWhite)) << "between the legs";
    EXPECT_TRUE(near(probe(-5, 2), kWhite)) << "beside the figure";
    EXPECT_TRUE(near(probe(0, 8.3f), kWhite)) << "above the head";
    EXPECT_TRUE(near(probe(0, -5.8f), kWhite)) << "below the feet";
    // Eyes: white on the front of the head, absent from the back.
    EXPECT_TRUE(near(probe(0.32f, 6.81f), kWhite)) << "left eye";
    EXPECT_TRUE(near(probe(-0.32f, 6.81f), kWhite)) << "right eye";

    beginFrame(BACK, 1);
    p.draw(figureDrawSettings());
    EXPECT_TRUE(near(probe(0.32f, 6.81f), kBlue)) << "back of the head";
    EXPECT_TRUE(near(probe(-0.32f, 6.81f), kBlue)) << "back of the head";

    // Moving the figure moves the drawing.
    p.setPosition(5, 0, 0);
    p.updateTransform(ROOT);
    beginFrame(FRONT, 1);
    p.draw(figureDrawSettings());
    EXPECT_TRUE(near(probe(-0.5f, 4.0f), kWhite)) << "old chest";
    EXPECT_TRUE(near(probe(4.5f, 4.0f), kBlue)) << "new chest";
}

TEST(PersonDraw, FemaleHasTwoChestSpheresAndMaleNone) {
    resetAppState();
    app.texturesOn = false;
    Person& p = app.persons[0];
    // Seen from the figure's left: view x is world -z, so the front is at the left.
    // Female torso: joint at 2.9, L 1.9, R 0.8; spheres at height 4.135, 0.8 forward.
    const float chestY = 1.2f + 1.7f + 0.65f * 1.9f;

    beginFrame(LEFT_SIDE, 1);
    p.draw(figureDrawSettings());
    EXPECT_TRUE(near(probe(-1.25f, chestY), kWhite)) << "male: nothing before the chest";
    EXPECT_TRUE(near(probe(-0.7f, chestY), kBlue)) << "male chest block";

    p.setGender(false, 1.0f);
    for (int i = 0; i < BODY_PART_COUNT; i++) p.updateTransform(i);
    beginFrame(LEFT_SIDE, 1);
    p.draw(figureDrawSettings());
    EXPECT_TRUE(near(probe(-1.25f, chestY), kRed)) << "female chest sphere";
    EXPECT_TRUE(near(probe(-1.25f, chestY + 0.9f), kWhite)) << "above the chest spheres";
    EXPECT_TRUE(near(probe(-1.25f, chestY - 0.9f), kWhite)) << "below the chest spheres";

    // From the front, the two spheres sit 0.8 apart, one each side of the middle.
    beginFrame(FRONT, 0);
    p.selectedPart = TORSO;  // yellow, so the spheres stand out from the red top
    drawNearestLayer(p);
    EXPECT_TRUE(near(probe(0.4f, chestY), {128, 128, 0}, 4)) << "left sphere";
    EXPECT_TRUE(near(probe(-0.4f, chestY), {128, 128, 0}, 4)) << "right sphere";
}

TEST(PersonDraw, SelectedPartIsHalfSeeThroughYellowWithoutTextures) {
    resetAppState();
    app.texturesOn = false;
    Person& p = app.persons[0];
    p.alpha = 0.3f;
    p.selectedPart = LUA;
    beginFrame(FRONT, 0);  // on black, a colour at opacity a reads as a x colour
    drawNearestLayer(p);
    EXPECT_TRUE(near(probe(1.6f, 3.3f), {128, 128, 0})) << "selected left upper arm";
    EXPECT_TRUE(near(probe(-1.6f, 3.3f), {0, 0, 77})) << "right upper arm at the figure's alpha";
    EXPECT_TRUE(near(probe(-0.5f, 4.0f), {0, 0, 77})) << "chest";

    // At start ROOT is selected, which draws nothing: no yellow anywhere probed.
    p.selectedPart = ROOT;
    beginFrame(FRONT, 0);
    drawNearestLayer(p);
    EXPECT_TRUE(near(probe(1.6f, 3.3f), {0, 0, 77}));
}

TEST(PersonDraw, TexturedPartsShowTheirSlotsAndTheSelectedOneTheYellowTexture) {
    resetAppState();
    loadSolidTextures();
    app.texturesOn = true;
    Person& p = app.persons[0];
    beginFrame(FRONT, 0);
    p.draw(figureDrawSettings());
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(near(probe(1.6f, 3.3f), slotColour(TEX_FABRIC_BLACK_SUIT_CUFF))) << "sleeve";
    EXPECT_TRUE(near(probe(-0.5f, 4.0f), slotColour(TEX_FABRIC_BLACK_SUIT_FRONT))) << "suit front";
    EXPECT_TRUE(near(probe(0, 7.6f), slotColour(TEX_SKIN_LIGHT_FACE_MALE))) << "face";
    EXPECT_TRUE(near(probe(0.32f, 6.81f), slotColour(TEX_EYE))) << "eye";
    EXPECT_TRUE(near(probe(-0.9f, -1.2f), slotColour(TEX_FABRIC_BLACK))) << "trousers";

    // The selected part is white x yellow at the figure's own opacity.
    p.selectedPart = LUA;
    p.alpha = 0.6f;
    beginFrame(FRONT, 0);
    drawNearestLayer(p);
    EXPECT_TRUE(near(probe(1.6f, 3.3f), {153, 153, 0})) << "selected sleeve";
    const Rgb cuff = slotColour(TEX_FABRIC_BLACK_SUIT_CUFF);
    EXPECT_TRUE(near(probe(-1.6f, 3.3f),
                     {static_cast<int>(cuff.r * 0.6f + 0.5f), static_cast<int>(cuff.g * 0.6f + 0.5f),
                      static_cast<int>(cuff.b * 0.6f + 0.5f)}))
        << "other sleeve";

    // A skin value outside the table binds no picture rather than reading past it.
    p.alpha = 1;
    p.selectedPart = ROOT;
    p.setSkin(99);
    beginFrame(FRONT, 0);
    p.draw(figureDrawSettings());
    EXPECT_TRUE(near(probe(-0.9f, -1.2f), slotColour(TEX_FABRIC_BLACK))) << "trousers unchanged";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDisable(GL_TEXTURE_2D);
}

TEST(PersonDraw, FacePictureIsCentredOnTheFrontOfTheHeadAndNotMirrored) {
    resetAppState();
    loadSolidTextures();
    // Face picture: left half red, right half green.
    std::vector<unsigned char> bgr;
    for (int row = 0; row < 8; row++)
        for (int col = 0; col < 8; col++)
            bgr.insert(bgr.end(), {0, static_cast<unsigned char>(col < 4 ? 0 : 255),
                                   static_cast<unsigned char>(col < 4 ? 255 : 0)});
    const std::string path = ::testing::TempDir() + "/puppetorium_face_halves.bmp";
    ASSERT_TRUE(testbmp::writeFile(path, testbmp::encode(8, 8, bgr)));
    testing::internal::CaptureStdout();
    app.textures[TEX_SKIN_LIGHT_FACE_MALE] = loadTexture(path.c_str());
    testing::internal::GetCapturedStdout();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    app.texturesOn = true;

    Person& p = app.persons[0];
    beginFrame(FRONT, 0);
    p.draw(figureDrawSettings());
    EXPECT_TRUE(near(probe(-0.5f, 7.6f), kRed, 8)) << "picture's left on the viewer's left";
    EXPECT_TRUE(near(probe(0.5f, 7.6f), {0, 255, 0}, 8)) << "picture's right on the viewer's right";
    // The picture's edges meet at the back of the head.
    beginFrame(BACK, 0);
    p.draw(figureDrawSettings());
    EXPECT_TRUE(near(probe(-0.5f, 7.6f), {0, 255, 0}, 8));
    EXPECT_TRUE(near(probe(0.5f, 7.6f), kRed, 8));
    glDisable(GL_TEXTURE_2D);
}

TEST(PersonDraw, HeldItemsAreOpaqueAndEveryDrawerLeavesTheMatrixAlone) {
    resetAppState();
    app.texturesOn = false;
    Person& p = app.persons[0];
    p.alpha = 0.3f;
    float ball[3];
    jointPosition(p, {ROOT, PELVIS, STOMK, TORSO, RUA, RLA, RH, RHI}, ball);

    beginFrame(FRONT, 0);
    drawNearestLayer(p);
    const Rgb empty = probe(ball[0], ball[1]);
    EXPECT_FALSE(near(empty, kRed)) << "no item held";

    p.rightHandItem = ITEM_BALL;
    beginFrame(FRONT, 0);
    drawNearestLayer(p);
    EXPECT_TRUE(near(probe(ball[0], ball[1]), kRed)) << "ball at full opacity in a see-through hand";
    EXPECT_TRUE(near(probe(ball[0] + 0.45f, ball[1]), kRed)) << "ball radius 0.5";
    EXPECT_FALSE(near(probe(ball[0] + 0.6f, ball[1]), kRed)) << "beyond the ball";

    p.rightHandItem = 42;  // no such item: nothing drawn
    beginFrame(FRONT, 0);
    drawNearestLayer(p);
    EXPECT_TRUE(near(probe(ball[0], ball[1]), empty));

    // Every item, with no quadric from the scene: the drawing makes its own.
    beginFrame(FRONT, 0);
    for (int item = ITEM_NONE; item < HAND_ITEM_COUNT; item++) {
        p.rightHandItem = item;
        float before[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, before);
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        p.drawBodyPart(RHI, FigureDrawSettings{true, false, nullptr});
        expectMatrixStackUntouched(before, depth);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // The sword is a rod 8 long pointing forward out of the hand: seen from
    // the side (view x is world -z) it reaches well in front of the figure.
    p.rightHandItem = ITEM_SWORD;
    beginFrame(LEFT_SIDE, 0);
    drawNearestLayer(p);
    EXPECT_TRUE(near(probe(-(ball[2] + 5), ball[1]), {128, 128, 128})) << "blade";
    EXPECT_TRUE(near(probe(-(ball[2] + 8.3f), ball[1]), kBlack)) << "past the tip";
}

TEST(PersonDraw, TrailFadesWithKeyFrameDistanceAndPutsTheAnimatedPoseBack) {
    resetAppState();
    app.texturesOn = false;
    Person& p = app.persons[0];
    p.clearAllKeyFrames();
    for (float x : {-8.0f, -4.0f, 0.0f, 4.0f, 8.0f}) {
        p.setPosition(x, 0, 0);
        p.pushPoseKeyFrame(10);
    }
    p.poseAtKeyFrame(0);  // the figure at x -8, the current keyframe 0
    p.showTrail = true;
    const PoseRecord before = record(p);

    beginFrame(FRONT, 1);
    p.draw(figureDrawSettings());
    // Chest fronts, one layer each: blue at opacity a on white.
    EXPECT_TRUE(near(probe(-8.5f, 4.0f), kBlue)) << "the figure";
    EXPECT_TRUE(near(probe(-4.5f, 4.0f), {217, 217, 255})) << "1 keyframe away: 0.15";
    EXPECT_TRUE(near(probe(-0.5f, 4.0f), {230, 230, 255})) << "2 away: 0.1";
    EXPECT_TRUE(near(probe(3.5f, 4.0f), {242, 242, 255})) << "3 away: 0.05";
    EXPECT_TRUE(near(probe(7.5f, 4.0f), kWhite, 0)) << "4 away: faded out";
    expectSamePose(before, record(p), 1e-5f);
    EXPECT_FLOAT_EQ(p.alpha, 1.0f);

    // Mid-way between keyframes, after real frames.
    for (int i = 0; i < 27; i++) p.stepAnimationBy(app.playRate);
    const PoseRecord moving = record(p);
    const float time = p.kfaPos.currentTime;
    beginFrame(FRONT, 1);
    p.draw(figureDrawSettings());
    expectSamePose(moving, record(p), 1e-4f);
    EXPECT_FLOAT_EQ(p.kfaPos.currentTime, time);
    EXPECT_FLOAT_EQ(p.part[RUA].kfa.currentTime, time);

    // No fade: every copy at the trail's opacity. No opacity: no copies.
    p.poseAtKeyFrame(0);
    p.trailFade = 0;
    beginFrame(FRONT, 1);
    p.draw(figureDrawSettings());
    EXPECT_TRUE(near(probe(3.5f, 4.0f), {204, 204, 255})) << "3 away, unfaded: 0.2";
    EXPECT_TRUE(near(probe(7.5f, 4.0f), {204, 204, 255})) << "4 away, unfaded: 0.2";
    p.trailAlpha = 0;
    beginFrame(FRONT, 1);
    p.draw(figureDrawSettings());
    EXPECT_TRUE(near(probe(-4.5f, 4.0f), kWhite, 0));
}

TEST(PersonDraw, TrailOfAStillFigurePutsItsOwnPoseBack) {
    resetAppState();
    app.texturesOn = false;
    Person& p = app.persons[0];
    p.clearAllKeyFrames();
    for (float x : {-4.0f, 4.0f}) {
        p.setPosition(x, 0, 0);
        p.pushPoseKeyFrame(10);
    }
    // Posed by hand away from every keyframe, then frozen.
    p.setAnimate(false);
    p.setPosition(0, 1, 0);
    p.selectPart(RUA);
    p.rotateSelectedPart(40, 2);
    p.updateTransform(ROOT);
    p.showTrail = true;
    const PoseRecord before = record(p);
    const float timeBefore = p.kfaPos.currentTime;
    const int indexBefore = p.part[RUA].kfa.currentIndex;

    beginFrame(FRONT, 1);
    p.draw(figureDrawSettings());
    expectSamePose(before, record(p), 0);
    // Drawing the copies leaves the paused figure where it was on its time line.
    EXPECT_EQ(p.kfaPos.currentTime, timeBefore);
    EXPECT_EQ(p.part[RUA].kfa.currentIndex, indexBefore);
    EXPECT_TRUE(near(probe(-4.5f, 4.0f), {204, 204, 255})) << "copy at keyframe 0";
    EXPECT_TRUE(near(probe(3.5f, 4.0f), {217, 217, 255})) << "copy at keyframe 1";

    // Without keyframes there is nothing to draw and nothing moves.
    p.clearAllKeyFrames();
    const PoseRecord bare = record(p);
    beginFrame(FRONT, 1);
    p.draw(figureDrawSettings());
    expectSamePose(bare, record(p), 0);
    EXPECT_TRUE(near(probe(-4.5f, 4.0f), kWhite, 0));
}
