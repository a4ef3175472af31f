// Scene files: a full scene survives save and open exactly; unknown lines
// are skipped with a warning; damaged files are refused and change nothing;
// a failed save keeps the old file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cmath>

#include "core/app_state.h"
#include "base/safe_file.h"
#include "scene/scene_commands.h"
#include "io/scene_file.h"
#include "io_test_support.h"
#include "scene_test_support.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// 45 figures with queues of unequal lengths, fractions that do not print
// short, animators mid-play and past loops, and every setting off its start.
void buildBusyScene() {
    resetAppState();
    app.numPersons = MAX_PERSONS;
    app.selectedPerson = 44;
    for (int i = 0; i < MAX_PERSONS; i++) {
        Person& p = app.persons[i];
        p.setGender(i % 2 == 0, 0.7f + i / 97.0f);
        p.setSkin(i % 3 == 0 ? TEX_SKIN_DARK : TEX_SKIN_LIGHT);
        p.setColour(i / 45.0f, 1.0f / 3, 0.1f);
        p.alpha = 0.3f;
        p.setLeftHandItem(i % HAND_ITEM_COUNT);
        p.setRightHandItem((i + 3) % HAND_ITEM_COUNT);
        p.showTrail = i % 2 == 1;
        p.trailAlpha = 0.45f;
        p.trailFade = 0.01f;
        p.setPosition(i * 1.1f, -0.3f, -i / 7.0f);
        p.selectedPart = i % BODY_PART_COUNT;
        p.part[HEAD].rotation[1] = 12.345678f + i;
        p.clearAllKeyFrames();
        p.setCycle(i % 4 != 0);
        for (int k = 0; k < BODY_PART_COUNT; k++)
            for (int n = 0; n < (i + k) % 6 + 1; n++)
                p.part[k].kfa.pushKeyFrame(n / 3.0f + k, -n * 7.1f, i * 0.01f, n % 2, 2 + (n * 13 + k) % 40);
        p.kfaPos.pushKeyFrame(i / 9.0f, 0, 1e-7f, ABS, 17);
        for (int step = 0; step < i * 3; step++) p.stepAnimationBy(app.playRate);
        p.animating = i % 5 != 0;
    }
    app.camera.setEye(1.0f / 3, 7.25f, -19.9f);
    app.camera.setTarget(0.5f, -2, 1e-3f);
    app.cameraMode = CAM_FOCUS_ON_PERSON;
    app.camera.animationOn = true;
    app.camera.eyeAnim.pushKeyFrame(3, 4, 5, REL, 200);
    app.camera.eyeAnim.advance(13.7f);
    app.playRate = 1.4f;
    app.sceneClock = 123.456f;
    app.wireframeOn = true;
    app.lightingOn = false;
    app.texturesOn = false;
    app.animateOn = false;
    app.showTargetMarker = false;
    app.orthographicView = true;
    app.lightEnabled[0] = false;
    app.lightEnabled[3] = true;
    app.sceneLight.pushKeyFrame(10, 10, -10, ABS, 1000);
    app.sceneLight.advance(333.3f);
    app.sceneMusicFile = "media/a song with blanks.mp3";
    app.sceneMusicOffset = 2.5f;
}

std::string presentSceneText() {
    auto s = makeScene();
    captureScene(app, *s);
    return writeSceneText(*s);
}

// A minimal file that states the version and ends properly.
std::string sceneText(const std::string& body) { return "puppetorium-scene 1\n" + body + "end\n"; }

}  // namespace

TEST(SceneFile, BusySceneRoundTripsThroughTextAndTheApplicationExactly) {
    buildBusyScene();
    auto original = makeScene();
    captureScene(app, *original);
    const std::string first = writeSceneText(*original);

    // Open on a fresh application: every stated fact comes back.
    resetAppState();
    auto parsed = makeScene();
    captureScene(app, *parsed);
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(readSceneText(first, *parsed, error, warnings)) << error;
    EXPECT_TRUE(warnings.empty());
    applyScene(*parsed);

    auto reopened = makeScene();
    captureScene(app, *reopened);
    expectScenesEqual(*original, *reopened);
    EXPECT_EQ(writeSceneText(*reopened), first);
    EXPECT_TRUE(app.musicFollowOn);

    // The applied figures are drawable: proportions and joints follow the gender and scale.
    EXPECT_FLOAT_EQ(app.persons[1].part[TORSO].length, 1.9f * (0.7f + 1 / 97.0f));
    EXPECT_EQ(app.persons[3].part[HEAD].texture, TEX_SKIN_DARK_FACE_FEMALE);
}

TEST(SceneFile, FloatsAreWrittenShortAndReadBackToTheSameFloat) {
    EXPECT_EQ(sceneFloatText(0.2f), "0.2");
    EXPECT_EQ(sceneFloatText(-90), "-90");
    for (float v : {1.0f / 3, 1e-7f, 123456789.0f, -0.0f, 0.1f + 0.2f, 16777217.0f}) {
        auto s = makeScene();
        std::string error;
        std::vector<std::string> warnings;
        const std::string text = sceneText("person 0 trailFade " + sceneFloatText(v) + "\n");
        ASSERT_TRUE(readSceneText(text, *s, error, warnings)) << error;
        EXPECT_EQ(s->persons[0].trailFade, v) << sceneFloatText(v);
    }
}

TEST(SceneFile, UnknownLinesAreSkippedWithOneWarningEachNamingTheLine) {
    auto s = makeScene();
    std::string error;
    std::vector<std::string> warnings;
    const std::string text = sceneText(
        "playRate 2\n"
        "hologram on\n"
        "person 0 cape red\n"
        "anim person.0.HEAD wobble 1\n"
        "\n"
        "# a remark\n"
        "numPersons 3\n");
    ASSERT_TRUE(readSceneText(text, *s, error, warnings)) << error;
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_EQ(warnings[0], "line 3: not understood, skipped: hologram on");
    EXPECT_EQ(warnings[1], "line 4: not understood, skipped: person 0 cape red");
    EXPECT_NE(warnings[2].find("line 5:"), std::string::npos);
    EXPECT_EQ(s->playRate, 2);
    EXPECT_EQ(s->numPersons, 3);
    // Newer versions open, their new facts skipped the same way.
    warnings.clear();
    EXPECT_TRUE(readSceneText("puppetorium-scene 7\nnumPersons 2\nend\n", *s, error, warnings));
}

TEST(SceneFile, DamagedTextIsRefusedWithTheLineAndTheReason) {
    struct Case { std::string text, expected; };
    const Case cases[] = {
        {"", "the file is empty"},
        {"!!!Marionetrix_v1.0\n", "line 1: not a scene file"},
        {"puppetorium-scene 0\nend\n", "line 1: not a scene file"},
        {"puppetorium-scene 1\nnumPersons 2\n", "ends before its \"end\" line"},
        {sceneText("numPersons 46\n"), "line 2: '46' is not a whole number in range"},
        {sceneText("playRate nan\n"), "line 2: 'nan'"},
        {sceneText("playRate 1,5\n"), "line 2: '1,5'"},
        {sceneText("person 0 skin 21\n"), "line 2: '21'"},
        {sceneText("person 45 scale 1\n"), "line 2: '45'"},
        {sceneText("person 0 position 1 2\n"), "line 2: expected 5 words"},
        {sceneText("lightEnabled 1 1 2 0\n"), "line 2: '2' is not 0 or 1"},
        {sceneText("anim light key 1 2 3 1 1\n"), "line 2: '1' is not a whole number"},
        {sceneText("anim light key 1 2 3 1 2\nanim light play 1 0 0 0 1 1\n"), "play state lies beyond"},
        {sceneText("anim light key 1 2 3 1 20\nanim light play 0 21 0 0 1 1\n"), "play state lies beyond"},
    };
    for (const Case& c : cases) {
        auto s = makeScene();
        std::string error;
        std::vector<std::string> warnings;
        EXPECT_FALSE(readSceneText(c.text, *s, error, warnings)) << c.text;
        EXPECT_NE(error.find(c.expected), std::string::npos) << "got: " << error << "\nfor: " << c.text;
    }
    // 201 keyframes for one animator is more than it holds.
    std::string keys;
    for (int i = 0; i <= KEYFRAME_CAPACITY; i++) keys += "anim light key 0 0 0 1 2\n";
    auto s = makeScene();
    std::string error;
    std::vector<std::string> warnings;
    EXPECT_FALSE(readSceneText(sceneText(keys), *s, error, warnings));
    EXPECT_NE(error.find("line 202: more keyframes"), std::string::npos) << error;
}

TEST(SceneFile, NamingAnAnimatorReplacesItsWholeQueue) {
    auto s = makeScene();
    s->sceneLight.pushKeyFrame(1, 1, 1, ABS, 50);
    s->sceneLight.pushKeyFrame(2, 2, 2, ABS, 50);
    s->persons[0].kfa[HEAD].pushKeyFrame(5, 5, 5, ABS, 9);
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(readSceneText(sceneText("anim light key 7 8 9 1 30\n"), *s, error, warnings)) << error;
    ASSERT_EQ(s->sceneLight.numKeyFrames, 1);
    EXPECT_EQ(s->sceneLight.keyFrames[0].x, 7);
    EXPECT_EQ(s->sceneLight.keyFrames[0].endTime, 30);
    EXPECT_EQ(s->persons[0].kfa[HEAD].numKeyFrames, 1);  // not named: kept
}

class SceneFiles : public InTempDir {};

TEST_F(SceneFiles, RefusedFilesLeaveTheOpenSceneAsItWas) {
    buildBusyScene();
    const std::string before = presentSceneText();
    std::string whole = before;
    writeFile(path("cut.scene"), whole.substr(0, whole.size() / 2));
    writeFile(path("bad.scene"), sceneText("numPersons 2\nperson 1 scale -3\n"));
    mkfifo(path("fifo.scene").c_str(), 0600);
    for (const char* name : {"cut.scene", "bad.scene", "fifo.scene", "missing.scene"}) {
        CaptureStdout();
        EXPECT_FALSE(openScene(path(name))) << name;
        const std::string out = GetCapturedStdout();
        EXPECT_NE(out.find("ERROR: scene file '" + path(name) + "' not opened: "), std::string::npos) << out;
        EXPECT_EQ(presentSceneText(), before) << name;
    }
}

TEST_F(SceneFiles, SavedFileOpensToTheSameSceneAndAFailedSaveKeepsTheOldFile) {
    buildBusyScene();
    const std::string busy = presentSceneText();
    CaptureStdout();
    ASSERT_TRUE(saveScene(path("busy.scene")));
    EXPECT_NE(GetCapturedStdout().find("Scene has been saved"), std::string::npos);
    EXPECT_EQ(readFile(path("busy.scene")), busy);

    resetAppState();
    CaptureStdout();
    ASSERT_TRUE(openScene(path("busy.scene")));
    GetCapturedStdout();
    EXPECT_EQ(presentSceneText(), busy);

    // The disk "fills up": the save says so and the old file stays whole.
    app.playRate = 0;
    setSafeWriteFunctionForTests([](int, const void*, std::size_t) -> long { errno = ENOSPC; return -1; });
    CaptureStdout();
    EXPECT_FALSE(saveScene(path("busy.scene")));
    setSafeWriteFunctionForTests(nullptr);
    EXPECT_NE(GetCapturedStdout().find("ERROR: scene not saved to '" + path("busy.scene") + "'"),
              std::string::npos);
    EXPECT_EQ(readFile(path("busy.scene")), busy);
}
