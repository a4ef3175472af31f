// Keys that reach files and the music: the built-in scenes loading the
// shipped animations, the F5/F6 dialogs through a scripted chooser, and the
// music key through a recording backend.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../audio/recording_music_backend.h"
#include "core/app_state.h"
#include "audio/music_player.h"
#include "audio/music_control.h"
#include "input/keyboard.h"
#include "io/file_chooser.h"
#include "../../support/scripted_chooser.h"

namespace {

// Runs in the repository root, where animations/ lives.
class SceneKeys : public testing::Test {
protected:
    std::string oldCwd;
    void SetUp() override {
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldCwd = cwd;
        ASSERT_EQ(chdir(PUPPETORIUM_SOURCE_DIR), 0);
        resetAppState();
    }
    void TearDown() override { ASSERT_EQ(chdir(oldCwd.c_str()), 0); }

    static std::string press(const std::string& keys) {
        testing::internal::CaptureStdout();
        for (char k : keys) onKeyboard(static_cast<unsigned char>(k), 0, 0);
        return testing::internal::GetCapturedStdout();
    }
    // Keyframes on the position animator and on TORSO, and whether they cycle.
    static void expectLoaded(const Person& p, int keyFrames, bool positions) {
        EXPECT_EQ(p.part[TORSO].kfa.numKeyFrames, keyFrames);
        EXPECT_EQ(p.part[RHI].kfa.numKeyFrames, keyFrames);
        EXPECT_EQ(p.kfaPos.numKeyFrames, positions ? keyFrames : 0);
        EXPECT_TRUE(p.part[TORSO].kfa.cycle);
        EXPECT_TRUE(p.kfaPos.cycle);
    }
};


}  // namespace

TEST_F(SceneKeys, SupermanFliesAloneWithTheCameraFollowing) {
    app.numPersons = 4;
    app.selectedPerson = 2;
    app.persons[0].setRightHandItem(ITEM_GUN);
    const std::string out = press("0");
    EXPECT_NE(out.find("EOF found"), std::string::npos);
    EXPECT_EQ(app.numPersons, 1);
    EXPECT_EQ(app.selectedPerson, 0);
    EXPECT_EQ(app.persons[0].rightHandItem, ITEM_NONE);
    EXPECT_EQ(app.cameraMode, CAM_SHIFT_TOWARDS_PERSON);
    expectLoaded(app.persons[0], 16, true);
    EXPECT_GT(app.persons[0].kfaPos.keyFrames[0].y, 3) << "up in the air";
}

TEST_F(SceneKeys, BoyAndGirlDanceWithTheFlower) {
    app.numPersons = 5;
    app.selectedPerson = 3;  // the scene still goes to persons 0 and 1
    app.persons[1].setRightHandItem(ITEM_SWORD);
    app.persons[0].setGender(false, 0.9f);
    press("5");
    EXPECT_EQ(app.numPersons, 2);
    EXPECT_EQ(app.selectedPerson, 0);
    const Person& boy = app.persons[0];
    const Person& girl = app.persons[1];
    EXPECT_EQ(boy.rightHandItem, ITEM_FLOWER);
    EXPECT_EQ(girl.rightHandItem, ITEM_NONE);
    EXPECT_TRUE(boy.isMale);
    EXPECT_FLOAT_EQ(boy.scale, 1.0f);
    EXPECT_FALSE(girl.isMale);
    expectLoaded(boy, 27, true);
    expectLoaded(girl, 27, true);
    EXPECT_EQ(app.persons[3].part[TORSO].kfa.numKeyFrames, 0);
}

TEST_F(SceneKeys, SwordFightArmsTwoMenAndDarkensTheSecond) {
    app.persons[1].setGender(false, 1.0f);
    press("6");
    EXPECT_EQ(app.numPersons, 2);
    EXPECT_EQ(app.selectedPerson, 0);
    for (int i : {0, 1}) {
        EXPECT_EQ(app.persons[i].rightHandItem, ITEM_SWORD);
        EXPECT_TRUE(app.persons[i].isMale);
        expectLoaded(app.persons[i], 10, true);
    }
    EXPECT_EQ(app.persons[0].skin, TEX_SKIN_LIGHT);
    EXPECT_EQ(app.persons[1].skin, TEX_SKIN_DARK);
    EXPECT_EQ(app.persons[1].part[HEAD].texture, TEX_SKIN_DARK_FACE_MALE);
}

TEST_F(SceneKeys, LawnmowerIsDancedByEveryoneShownWhereTheyStand) {
    app.numPersons = 3;
    press("8");
    for (int i = 0; i < 3; i++) expectLoaded(app.persons[i], 8, false);
    EXPECT_EQ(app.persons[3].part[TORSO].kfa.numKeyFrames, 0);
    app.numPersons = 0;
    EXPECT_EQ(press("8"), "") << "nobody shown, nothing loaded";
}

TEST_F(SceneKeys, F5LoadsTheChosenFileAndF6SavesToTheChosenPath) {
    ScriptedChooser chooser;
    setFileChooser(&chooser);
    const std::string saved = testing::TempDir() + "keys_f6_walk.txt";
    chooser.answers = {"", std::string(PUPPETORIUM_SOURCE_DIR) + "/animations/lawnmower.txt", saved};
    app.numPersons = 2;
    app.selectedPerson = 1;

    testing::internal::CaptureStdout();
    onSpecialKey(GLUT_KEY_F5, 0, 0);  // cancelled
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("No File Selected"), std::string::npos);
    EXPECT_EQ(app.persons[1].part[TORSO].kfa.numKeyFrames, 0);

    testing::internal::CaptureStdout();
    onSpecialKey(GLUT_KEY_F5, 0, 0);
    onSpecialKey(GLUT_KEY_F6, 0, 0);
    out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(app.persons[1].part[TORSO].kfa.numKeyFrames, 8);
    EXPECT_EQ(app.persons[0].part[TORSO].kfa.numKeyFrames, 0);
    EXPECT_NE(out.find("Animation has been saved"), std::string::npos);
    std::ifstream in(saved);
    std::string first, skip, count;
    std::getline(in, first);
    std::getline(in, skip);
    std::getline(in, skip);
    std::getline(in, count);
    EXPECT_EQ(first, "!!!Marionetrix_v1.0");
    EXPECT_EQ(count, "!numKeyFrames=8");
    setFileChooser(nullptr);
    std::remove(saved.c_str());
    std::remove("_CODE_OUTPUT.txt");
}

TEST_F(SceneKeys, MusicKeyStopsTheIntroThenPlaysTheSecondPieceFromTheStart) {
    RecordingMusicBackend backend;
    backend.files = {"media/intro.mp3", "media/01.mp3"};
    startIntroMusic(backend);
    backend.take();
    press("d");
    EXPECT_FALSE(app.musicOn);
    EXPECT_EQ(backend.take(), std::vector<std::string>{"stop techno"});
    press("d");
    EXPECT_TRUE(app.musicOn);
    const std::vector<std::string> calls = backend.take();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "playFromStart techno");
    EXPECT_NE(std::find(calls.begin(), calls.end(), "open media/01.mp3 techno"), calls.end());
    // The program keeps its player for the whole run; a test hands it back.
    delete app.musicPlayer;
    app.musicPlayer = nullptr;
}
