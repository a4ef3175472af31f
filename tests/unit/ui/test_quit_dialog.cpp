// Quitting asks only when there is unsaved work, and obeys the answer.
#include <gtest/gtest.h>

#include "app/menus.h"
#include "ui/quit_dialog.h"

namespace {

struct RecordingConfirmer : QuitConfirmer {
    int asked = 0;
    QuitAnswer answer = QuitAnswer::Cancel;
    QuitAnswer askBeforeQuitting() override {
        asked++;
        return answer;
    }
};

bool unsaved = false;
bool queryUnsaved() { return unsaved; }
int saves = 0;
bool saveSucceeds = false;
bool fakeSave() {
    saves++;
    return saveSucceeds;
}

}  // namespace

TEST(QuitQuestion, AsksOnlyWithUnsavedWorkAndFollowsTheAnswer) {
    RecordingConfirmer fake;
    setQuitConfirmer(&fake);

    // No predicate installed: nothing counts as unsaved.
    setUnsavedWorkQuery(nullptr);
    EXPECT_TRUE(quitAllowed());
    EXPECT_EQ(fake.asked, 0);

    setUnsavedWorkQuery(queryUnsaved);
    unsaved = false;
    EXPECT_TRUE(quitAllowed());
    EXPECT_EQ(fake.asked, 0);

    unsaved = true;
    fake.answer = QuitAnswer::Cancel;
    EXPECT_FALSE(quitAllowed());
    fake.answer = QuitAnswer::QuitWithoutSaving;
    EXPECT_TRUE(quitAllowed());
    EXPECT_EQ(fake.asked, 2);

    // The menu's "quit" stays in the program when the user cancels.
    fake.answer = QuitAnswer::Cancel;
    mainMenuHandler(MENU_QUIT);
    EXPECT_EQ(fake.asked, 3);

    setUnsavedWorkQuery(nullptr);
    setQuitConfirmer(nullptr);
}

TEST(QuitQuestion, SaveSceneQuitsOnlyOnceTheSceneIsOnDisk) {
    RecordingConfirmer fake;
    setQuitConfirmer(&fake);
    setUnsavedWorkQuery(queryUnsaved);
    unsaved = true;
    fake.answer = QuitAnswer::SaveScene;

    setSceneSaver(nullptr);
    EXPECT_FALSE(quitAllowed());  // nothing can save: stay

    setSceneSaver(fakeSave);
    saves = 0;
    saveSucceeds = false;  // the chooser was cancelled, or the disk refused
    EXPECT_FALSE(quitAllowed());
    mainMenuHandler(MENU_QUIT);  // still running afterwards
    saveSucceeds = true;
    EXPECT_TRUE(quitAllowed());
    EXPECT_EQ(saves, 3);

    setSceneSaver(nullptr);
    setUnsavedWorkQuery(nullptr);
    setQuitConfirmer(nullptr);
}
