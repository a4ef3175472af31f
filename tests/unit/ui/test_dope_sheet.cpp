// The dope sheet: its rows (every figure, then the selected figure's keyed
// animators), one time axis for all, and the mouse: a click on a tick goes
// there, a drag moves one keyframe (later ones stay, or with Shift move
// along) as one undo step, Delete removes the keyframe under the pointer.
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "input/mouse.h"
#include "edit/edit_commands.h"
#include "core/history.h"
#include "edit/keyframe_edit.h"
#include "ui/dope_sheet.h"

namespace {

class DopeSheet : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        resetEditing();
        app.numPersons = 2;
        // Figure 1: three poses of 20 steps (ends 20, 40, 60); figure 2: one of 30.
        for (int k = 1; k <= 3; k++) {
            app.persons[0].part[HEAD].rotation[1] = 10.0f * k;
            app.persons[0].pushPoseKeyFrame(20);
        }
        app.persons[1].pushPoseKeyFrame(30);
        app.dopeSheetVisible = true;
        l = dopeSheetLayout(700, 500);
    }
    void TearDown() override {
        resetEditing();
        resetAppState();
    }
    int rowY(int row) const { return static_cast<int>(l.rowsTop + l.rowHeight * (row + 0.5f)); }
    int x(float t) const { return static_cast<int>(dopeSheetX(l, t) + 0.5f); }
    DopeSheetLayout l{};
};

}  // namespace

TEST_F(DopeSheet, RowsAreEveryFigureThenTheSelectedFiguresAnimatorsOnOneAxis) {
    // figure 1, its pos and 20 parts, then figure 2.
    ASSERT_EQ(l.rowCount, 23);
    EXPECT_EQ(l.rows[0].which, FIGURE_ROW);
    EXPECT_EQ(l.rows[1].which, -1);
    EXPECT_EQ(l.rows[2 + HEAD].which, HEAD);
    EXPECT_EQ(l.rows[22].person, 1);
    EXPECT_EQ(l.length, 60);
    EXPECT_LE(l.bottom - l.top, 500 * DOPE_SHEET_SHARE + 1);
    EXPECT_NEAR(dopeSheetTime(l, dopeSheetX(l, 35)), 35, 1e-3);

    const DopeSheetHit onTick = dopeSheetHitAt(l, dopeSheetX(l, 40), rowY(0));
    EXPECT_EQ(onTick.row, 0);
    EXPECT_EQ(onTick.keyFrame, 1);
    EXPECT_EQ(dopeSheetHitAt(l, dopeSheetX(l, 30), rowY(22)).keyFrame, 0) << "figure 2's own tick";
    EXPECT_EQ(dopeSheetHitAt(l, dopeSheetX(l, 30), rowY(0)).keyFrame, -1);

    // A part keyed on its own shows as a row only when it holds keyframes.
    app.selectedPerson = 1;
    app.persons[1].part[NECK].kfa.clear();
    EXPECT_EQ(dopeSheetLayout(700, 500).rowCount, 2 + 1 + 19);
}

TEST_F(DopeSheet, ClickGoesToTheTickAndDragMovesItAsOneUndoStep) {
    Person& p = app.persons[0];
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, x(40), rowY(0));
    EXPECT_FALSE(app.leftButtonDown) << "the sheet takes the press";
    onMouse(MOUSE_LEFT, 1, x(40), rowY(0));
    EXPECT_EQ(currentKeyFrame(p), 1);
    EXPECT_EQ(p.part[HEAD].rotation[1], 20);
    EXPECT_FALSE(p.animating);

    const std::size_t steps = editHistory().undoDepth();
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, x(40), rowY(0));
    onMotion(x(33), rowY(0));
    onMotion(x(30), rowY(0));
    onMouse(MOUSE_LEFT, 1, x(30), rowY(0));
    EXPECT_EQ(editHistory().undoDepth(), steps + 1);
    EXPECT_NEAR(keyFrameEnd(p.part[RUA].kfa, 1), 30, 1);
    EXPECT_EQ(keyFrameEnd(p.part[RUA].kfa, 2), 60) << "the later keyframe stays";

    // A drag on the head's row moves the head's keyframe alone; Shift takes the rest along.
    app.persons[0].selectPart(ROOT);
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, x(20), rowY(2 + HEAD));
    onMotion(x(10), rowY(2 + HEAD));
    onMouse(MOUSE_LEFT, 1, x(10), rowY(2 + HEAD));
    EXPECT_EQ(p.selectedPart, HEAD);
    EXPECT_NEAR(keyFrameEnd(p.part[HEAD].kfa, 0), 10, 1);
    EXPECT_EQ(keyFrameEnd(p.part[NECK].kfa, 0), 20);
    const float headEnd = keyFrameEnd(p.part[HEAD].kfa, 2);
    EXPECT_TRUE(dopeSheetPress(x(60), rowY(2 + HEAD), true));
    EXPECT_TRUE(dopeSheetDrag(x(50)));
    EXPECT_TRUE(dopeSheetRelease(x(50)));
    EXPECT_NEAR(keyFrameEnd(p.part[HEAD].kfa, 2), headEnd - 10, 1);

    editHistory().undo();
    editHistory().undo();
    editHistory().undo();
    EXPECT_EQ(keyFrameEnd(p.part[RUA].kfa, 1), 40);
    EXPECT_EQ(keyFrameEnd(p.part[HEAD].kfa, 0), 20);
}

TEST_F(DopeSheet, DeleteRemovesTheKeyframeUnderThePointerOnly) {
    Person& p = app.persons[0];
    app.mouseX = x(40);
    app.mouseY = rowY(0);
    EXPECT_TRUE(dopeSheetDeleteAtPointer());
    EXPECT_EQ(keyFrameCount(p), 2);
    EXPECT_EQ(keyFrameEnd(p.kfaPos, 1), 60) << "the last keyframe keeps its time";

    app.mouseX = x(50);
    EXPECT_FALSE(dopeSheetDeleteAtPointer()) << "no tick under the pointer";
    app.dopeSheetVisible = false;
    app.mouseX = x(60);
    EXPECT_FALSE(dopeSheetDeleteAtPointer()) << "hidden, the sheet takes no key";
    toggleDopeSheet();
    EXPECT_TRUE(dopeSheetShown());
}
