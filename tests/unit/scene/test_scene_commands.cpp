// Scene commands: Ctrl+S and Ctrl+O through the chooser, the scene submenu,
// a scene named on the command line, and the shipped scene files playing
// what their keys play.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "app/menus.h"
#include "scene/scene_init.h"
#include "input/keyboard.h"
#include "edit/edit_commands.h"
#include "io/file_chooser.h"
#include "scene/scene_commands.h"
#include "io/scene_file.h"
#include "../io/io_test_support.h"
#include "../io/scene_test_support.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

using SceneCommands = ChooserInTempDir;

std::string presentSceneText() {
    auto s = makeScene();
    captureScene(app, *s);
    return writeSceneText(*s);
}

}  // namespace

TEST_F(SceneCommands, CtrlSSavesWithTheSceneExtensionAndCtrlOOpensIt) {
    app.numPersons = 3;
    app.persons[2].setScale(0.5f);
    app.playRate = 0.4f;
    const std::string saved = presentSceneText();
    chooser.answers = {path("duet"), "", path("duet.scene")};

    CaptureStdout();
    onKeyboard(19, 0, 0);  // Ctrl+S
    GetCapturedStdout();
    ASSERT_EQ(chooser.shown.size(), 1u);
    EXPECT_EQ(chooser.shown[0].kind, FileDialogKind::Save);
    EXPECT_STREQ(chooser.shown[0].filters[0].name, "Puppetorium scene (*.scene)");
    EXPECT_STREQ(chooser.shown[0].filters[0].patterns, "*.scene");
    EXPECT_EQ(readFile(path("duet.scene")), saved);

    resetAppState();
    const std::string fresh = presentSceneText();
    CaptureStdout();
    onKeyboard(15, 0, 0);  // Ctrl+O, cancelled
    EXPECT_NE(GetCapturedStdout().find("No File Selected"), std::string::npos);
    EXPECT_EQ(presentSceneText(), fresh);
    CaptureStdout();
    onKeyboard(15, 0, 0);
    GetCapturedStdout();
    EXPECT_EQ(chooser.shown.back().kind, FileDialogKind::Open);
    EXPECT_EQ(presentSceneText(), saved);
    EXPECT_EQ(app.persons[2].scale, 0.5f);
}

TEST_F(SceneCommands, OpeningASceneIsOneUndoStepAndMarksItsFiguresSaved) {
    resetEditing();
    app.numPersons = 2;
    app.persons[1].setScale(0.5f);
    app.persons[1].pushPoseKeyFrame(20);
    ASSERT_TRUE(saveScene(path("two.scene")));
    resetAppState();
    app.persons[0].pushPoseKeyFrame(20);
    markKeyFramesChanged(0);
    const std::string before = presentSceneText();

    CaptureStdout();
    ASSERT_TRUE(openScene(path("two.scene")));
    EXPECT_FALSE(anyUnsavedKeyFrames()) << "what was opened is on disk";
    EXPECT_EQ(app.persons[1].scale, 0.5f);
    undoCommand();
    GetCapturedStdout();
    EXPECT_EQ(presentSceneText(), before) << "one undo puts every figure back";
    resetEditing();
}

TEST_F(SceneCommands, SceneMenuSavesOpensAndSwitchesTheMusicFollowing) {
    chooser.answers = {path("menu.scene"), path("menu.scene")};
    app.playRate = 0;
    CaptureStdout();
    sceneMenuHandler(MENU_SAVE_SCENE);
    app.playRate = 1;
    EXPECT_FALSE(app.musicFollowOn) << "nothing opened yet";
    sceneMenuHandler(MENU_OPEN_SCENE);
    EXPECT_EQ(app.playRate, 0);
    EXPECT_TRUE(app.musicFollowOn) << "an opened scene names its music";
    sceneMenuHandler(MENU_MUSIC_FOLLOWS);
    EXPECT_FALSE(app.musicFollowOn);
    sceneMenuHandler(MENU_MUSIC_FOLLOWS);
    EXPECT_TRUE(app.musicFollowOn);
    // A scene without music has nothing to follow.
    app.sceneMusicFile.clear();
    app.musicFollowOn = false;
    sceneMenuHandler(MENU_MUSIC_FOLLOWS);
    EXPECT_FALSE(app.musicFollowOn);
    GetCapturedStdout();
}

TEST_F(SceneCommands, CommandLineOpensTheFirstSceneArgumentOnly) {
    writeFile(path("start.scene"), "puppetorium-scene 1\nnumPersons 4\nend\n");
    writeFile(path("other.scene"), "puppetorium-scene 1\nnumPersons 7\nend\n");
    std::string a0 = "puppetorium", a1 = "notes.txt", a2 = path("start.scene"), a3 = path("other.scene");
    char* argv[] = {&a0[0], &a1[0], &a2[0], &a3[0]};
    CaptureStdout();
    openSceneFromCommandLine(2, argv);
    EXPECT_EQ(app.numPersons, 1);
    openSceneFromCommandLine(4, argv);
    GetCapturedStdout();
    EXPECT_EQ(app.numPersons, 4);
}

// Each shipped scene, opened at start-up, is what its key makes of start-up.
TEST_F(SceneCommands, ShippedScenesSetUpWhatTheirKeysSetUp) {
    ASSERT_EQ(chdir(PUPPETORIUM_SOURCE_DIR), 0);
    const struct { char key; const char* file; int keyFrames; } scenes[] = {
        {'0', "scenes/superman.scene", 0},
        {'5', "scenes/boy_and_girl.scene", 0},
        {'6', "scenes/swordfight.scene", 10},
        {'8', "scenes/lawnmower.scene", 0},
    };
    for (const auto& s : scenes) {
        SCOPED_TRACE(s.file);
        auto byKey = makeScene(), byFile = makeScene();
        resetAppState();
        placeAndDressPersons();
        setLightPath();
        CaptureStdout();
        onKeyboard(static_cast<unsigned char>(s.key), 0, 0);
        GetCapturedStdout();
        captureScene(app, *byKey);
        ASSERT_GT(app.persons[0].part[TORSO].kfa.numKeyFrames, 1);
        if (s.keyFrames) {
            EXPECT_EQ(app.persons[1].part[TORSO].kfa.numKeyFrames, s.keyFrames);
        }

        resetAppState();
        placeAndDressPersons();
        setLightPath();
        CaptureStdout();
        const bool opened = openScene(s.file);
        const std::string out = GetCapturedStdout();
        ASSERT_TRUE(opened) << out;
        EXPECT_EQ(out.find("WARNING"), std::string::npos) << out;
        captureScene(app, *byFile);
        expectScenesEqual(*byKey, *byFile);
    }
    ASSERT_EQ(chdir(dir.c_str()), 0);
}
