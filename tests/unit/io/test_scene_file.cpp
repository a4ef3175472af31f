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
                p.part[k].kfa.pushKeyFrame(n / 3.0f + k, -n * 7.1f, i * 0.01f, n % 2, 2 + (n * 13 + k) % 40,
                                           (n + k) % KIND_COUNT);
        p.kfaPos.pushKeyFrame(i / 9.0f, 0, 1e-7f, ABS, 17);
        for (int step = 0; step < i * 3; step++) p.stepAnimationBy(app.playRate);
        p.animating = i % 5 != 0;
    }
    app.camera.setEye(1.0f / 3, 7.25f, -19.9f);
    app.camera.setTarget(0.5f, -2, 1e-3f);
    app.cameraMode = CAM_FOCUS_ON_PERSON;
    app.camera.animationOn = true;
    app.camera.eyeAnim.pushKeyFrame(3, 4, 5, REL, 200);
    app.camera.eyeAnim.pushKeyFrame(-3, 4, 5, ABS, 20, KIND_SMOOTH);  // a recorded camera keyframe
    app.camera.eyeAnim.advance(13.7f);
    app.camera.trackPaused = true;
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
    // Newer versions open, their new facts skipped the same way, and say so.
    warnings.clear();
    EXPECT_TRUE(readSceneText("puppetorium-scene 7\nnumPersons 2\nhologram on\nend\n", *s, error, warnings));
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[1], "is version 7, newer than this program's 1: 1 lines it does not know were skipped");
}

// A file of millions of unknown lines, or one huge number, once filled the
// console and the screen: the first ten lines are named, the rest counted,
// and a token is quoted by its first characters.
TEST(SceneFile, WarningsAndQuotedTokensStayShort) {
    std::string body;
    for (int i = 0; i < 5000; i++) body += "hologram " + std::to_string(i) + "\n";
    auto s = makeScene();
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(readSceneText(sceneText(body), *s, error, warnings)) << error;
    ASSERT_EQ(warnings.size(), 11u);
    EXPECT_EQ(warnings[9], "line 11: not understood, skipped: hologram 9");
    EXPECT_EQ(warnings[10], "has 4990 more lines not understood, skipped");

    const std::string huge(1 << 20, '7');
    EXPECT_FALSE(readSceneText(sceneText("playRate " + huge + "\n"), *s, error, warnings));
    EXPECT_EQ(error, "line 2: '777777777777777777777777...' (1048576 characters) is not a number in range");
}

// A selection beyond the figures in use made F7 record on a figure not
// shown; a camera on its target or straight above it drew a white window.
TEST(SceneFile, SelectionMustBeAFigureInUseAndADegenerateCameraIsMoved) {
    auto s = makeScene();
    std::string error;
    std::vector<std::string> warnings;
    EXPECT_FALSE(readSceneText(sceneText("numPersons 2\nselectedPerson 5\n"), *s, error, warnings));
    EXPECT_EQ(error, "selectedPerson 5 is not one of the 2 figures in use");
    EXPECT_TRUE(readSceneText(sceneText("numPersons 0\nselectedPerson 0\n"), *s, error, warnings)) << error;

    // Key p can leave the application's selection past the last figure: the
    // file written then still opens, selecting the last figure.
    resetAppState();
    app.numPersons = 2;
    app.selectedPerson = 2;
    auto captured = makeScene();
    captureScene(app, *captured);
    EXPECT_EQ(captured->selectedPerson, 1);

    for (const char* camera : {"eye 0 20 0\ntarget 0 0 0\n", "eye 3 4 5\ntarget 3 4 5\n",
                               "eye 1e9 0 1e9\ntarget 1e9 -5 1e9\n"}) {
        auto c = makeScene();
        warnings.clear();
        ASSERT_TRUE(readSceneText(sceneText(camera), *c, error, warnings)) << error;
        ASSERT_EQ(warnings.size(), 1u) << camera;
        EXPECT_NE(warnings[0].find("its eye was moved a little"), std::string::npos);
        EXPECT_GT(std::fabs(c->eye[2] - c->target[2]), 0) << camera;
        EXPECT_EQ(c->eye[0], c->target[0]) << camera;
    }
    auto ok = makeScene();
    warnings.clear();
    ASSERT_TRUE(readSceneText(sceneText("eye 0 20 0.5\ntarget 0 0 0\n"), *ok, error, warnings));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(ok->eye[2], 0.5f);
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
        {sceneText("anim light key 1 2 3 1 20 4\n"), "line 2: '4' is not a whole number in range"},
        {sceneText("anim light key 1 2 3 1 20 3 4\n"), "line 2: expected 7 to 8 words"},
        {sceneText("anim light key 1 2 3 1\n"), "line 2: expected 7 to 8 words"},
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

// Every whole number the reader takes must come back from the writer as a
// whole number: lengths of 100000 and more once printed as "1e+05".
TEST(SceneFile, KeyLengthsAtEveryPowerOfTenUpToTheLimitReopen) {
    for (int steps = 10; steps <= 1000000; steps *= 10) {
        auto s = makeScene();
        s->persons[0].kfa[HEAD].pushKeyFrame(1, 2, 3, ABS, steps);
        s->persons[0].kfa[HEAD].pushKeyFrame(4, 5, 6, ABS, steps - 1);
        const std::string text = writeSceneText(*s);
        EXPECT_NE(text.find(" " + std::to_string(steps) + "\n"), std::string::npos) << steps;
        auto back = makeScene();
        std::string error;
        std::vector<std::string> warnings;
        ASSERT_TRUE(readSceneText(text, *back, error, warnings)) << steps << ": " << error;
        EXPECT_EQ(back->persons[0].kfa[HEAD].keyFrames[0].steps, steps);
        EXPECT_EQ(back->persons[0].kfa[HEAD].keyFrames[1].steps, steps - 1);
        EXPECT_EQ(writeSceneText(*back), text);
    }
}
