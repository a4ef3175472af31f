// The autosave: written from a copy on its own thread while keyframes are
// unsaved, removed once they are saved or on a clean quit, and recovered
// exactly, still counting as unsaved.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "core/app_state.h"
#include "edit/edit_commands.h"
#include "scene/autosave.h"
#include "io/scene_file.h"
#include "../io/io_test_support.h"
#include "../io/scene_test_support.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

class Autosave : public InTempDir {
protected:
    std::string oldState;
    bool hadState = false;

    void SetUp() override {
        InTempDir::SetUp();
        if (const char* s = std::getenv("XDG_STATE_HOME")) {
            hadState = true;
            oldState = s;
        }
        setenv("XDG_STATE_HOME", (dir + "/state").c_str(), 1);
        resetAppState();
    }
    void TearDown() override {
        waitForAutosave();
        if (hadState) setenv("XDG_STATE_HOME", oldState.c_str(), 1);
        else unsetenv("XDG_STATE_HOME");
        resetAppState();
        InTempDir::TearDown();
    }
    bool autosaveThere() const {
        struct stat st;
        return stat(autosavePath().c_str(), &st) == 0;
    }
};

// Two keyframes of a turned figure, recorded as F7 does.
void recordTwoKeyFrames() {
    Person& p = app.persons[0];
    p.turnFigure(30, 1);
    recordKeyFrameCommand();
    p.moveForward(2, 1);
    p.part[HEAD].rotation[1] = 17.25f;
    recordKeyFrameCommand();
}

}  // namespace

TEST_F(Autosave, UnsavedKeyFramesAreWrittenAndRecoveredExactlyThenRemovedOnceSaved) {
    EXPECT_EQ(autosavePath(), dir + "/state/puppetorium/autosave.scene");
    autosaveInBackground();
    waitForAutosave();
    EXPECT_FALSE(autosaveThere()) << "nothing unsaved, nothing written";

    recordTwoKeyFrames();
    ASSERT_TRUE(anyUnsavedKeyFrames());
    auto made = makeScene();
    captureScene(app, *made);
    autosaveInBackground();
    waitForAutosave();
    ASSERT_TRUE(autosaveThere());
    struct stat st;
    ASSERT_EQ(stat((dir + "/state/puppetorium").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "the folder is the user's alone";

    // As after a crash: a fresh program, told to recover.
    resetAppState();
    CaptureStdout();
    ASSERT_TRUE(recoverAutosave());
    const std::string out = GetCapturedStdout();
    EXPECT_EQ(out.rfind("Recovered the unsaved work of ", 0), 0u) << out;
    auto back = makeScene();
    captureScene(app, *back);
    ASSERT_EQ(back->persons[0].kfa[HEAD].numKeyFrames, 2);
    expectAnimatorsEqual(made->persons[0].kfaPos, back->persons[0].kfaPos, "pos");
    for (int k = 0; k < BODY_PART_COUNT; k++)
        expectAnimatorsEqual(made->persons[0].kfa[k], back->persons[0].kfa[k], kBodyPartLabels[k]);
    EXPECT_TRUE(anyUnsavedKeyFrames()) << "recovered work is saved nowhere else";

    // A save leaves nothing unsaved: the next round removes the autosave.
    markKeyFramesSaved(0);
    autosaveInBackground();
    waitForAutosave();
    EXPECT_FALSE(autosaveThere());
}

TEST_F(Autosave, ACleanQuitRemovesItAndAStartAnnouncesALeftOver) {
    recordTwoKeyFrames();
    ASSERT_TRUE(writeAutosaveNow());
    CaptureStdout();
    announceAutosave();
    const std::string said = GetCapturedStdout();
    EXPECT_EQ(said.rfind("Unsaved work from ", 0), 0u) << said;
    EXPECT_NE(said.find("--recover"), std::string::npos);

    removeAutosave();
    EXPECT_FALSE(autosaveThere());
    CaptureStdout();
    announceAutosave();
    EXPECT_EQ(GetCapturedStdout(), "");
    CaptureStdout();
    EXPECT_FALSE(recoverAutosave());
    EXPECT_EQ(GetCapturedStdout().rfind("ERROR: no autosave recovered from ", 0), 0u);
}
