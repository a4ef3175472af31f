// Quitting asks only when there is unsaved work, and obeys the answer.
#include <gtest/gtest.h>

#include "app/menus.h"
#include "ui/quit_dialog.h"

namespace {

struct RecordingConfirmer : QuitConfirmer {
    int asked = 0;
    bool answer = false;
    bool confirmQuitDiscardingChanges() override {
        asked++;
        return answer;
    }
};

bool unsaved = false;
bool queryUnsaved() { return unsaved; }

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
    fake.answer = false;
    EXPECT_FALSE(quitAllowed());
    fake.answer = true;
    EXPECT_TRUE(quitAllowed());
    EXPECT_EQ(fake.asked, 2);

    // The menu's "quit" stays in the program when the user says no.
    fake.answer = false;
    mainMenuHandler(MENU_QUIT);
    EXPECT_EQ(fake.asked, 3);

    setUnsavedWorkQuery(nullptr);
    setQuitConfirmer(nullptr);
}
