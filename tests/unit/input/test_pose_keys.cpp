// Posing by hand as GLUT delivers it: Ctrl+C, Ctrl+V and Ctrl+Shift+V as
// control codes, Backspace (and Ctrl+H, which GLUT sends as the same code),
// Ctrl+E's dialog through a fake, Ctrl+7, 1, 3, 5 for the views, and the
// Ctrl + left drag through the mouse callbacks. Each edit is one undo step
// that takes the figure back bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/app_state.h"
#include "base/platform.h"
#include "input/mouse.h"
#include "camera/named_views.h"
#include "edit/edit_commands.h"
#include "core/history.h"
#include "edit/limb_ik.h"
#include "edit/pick.h"
#include "edit/pose_edit.h"
#include "input/keyboard.h"
#include "core/messages.h"
#include "edit/value_editor.h"

namespace {

int heldModifiers = 0;
int fakeModifiers() { return heldModifiers; }

constexpr int CTRL = platform::MOD_CTRL, SHIFT = platform::MOD_SHIFT;

struct FakeEditor : ValueEditor {
    bool answer = true;
    ExactValues shown, typed;
    bool editValues(ExactValues& v) override {
        shown = v;
        if (answer) v = typed;
        return answer;
    }
};

class PoseKeys : public testing::Test {
protected:
    FakeEditor editor;
    void SetUp() override {
        resetAppState();
        heldModifiers = 0;
        platform::setModifiersSource(fakeModifiers);
        setValueEditor(&editor);
        app.windowWidth = 700;
        app.windowHeight = 500;
    }
    void TearDown() override {
        setValueEditor(nullptr);
        platform::resetSeams();
        resetAppState();
    }
    static void key(unsigned char k, int modifiers = 0) {
        heldModifiers = modifiers;
        onKeyboard(k, 0, 0);
        heldModifiers = 0;
    }
    static std::string message() {
        const std::string* m = currentMessage(platform::elapsedMs());
        return m ? *m : "";
    }
    static bool samePose(const Person& a, const Person& b) {
        for (int i = 0; i < BODY_PART_COUNT; i++)
            if (std::memcmp(a.part[i].rotation, b.part[i].rotation, sizeof a.part[i].rotation) != 0) return false;
        return true;
    }
    // An uneven pose with angles on every axis of both sides and the middle.
    static void strikeAPose(Person& p) {
        const float pose[][4] = {
            {ROOT, 0, 33, 0}, {STOMK, 12.5f, -7, 4}, {HEAD, -8, 21.25f, 3}, {RUA, 120, 2, 40},
            {LUA, 200, -3, -15}, {RLA, -45, 30, -10}, {LH, 20, 4, -12.75f}, {RUL, 150, 1, 20},
            {LLL, 60, 0, -3}, {RF, -100, 2, 7},
        };
        for (const auto& a : pose) {
            BodyPart& b = p.part[static_cast<int>(a[0])];
            for (int k = 0; k < 3; k++) b.rotation[k] = a[k + 1];
        }
    }
};

TEST_F(PoseKeys, MirroredPasteSwapsSidesNegatesYAndZAndTwiceGivesThePoseBackBitForBit) {
    Person& p = app.persons[0];
    strikeAPose(p);
    Person original;
    pastePose(original, copyPose(p));

    key(3, CTRL);            // Ctrl+C
    key(22, CTRL | SHIFT);   // Ctrl+Shift+V
    EXPECT_EQ(message(), "mirrored pose pasted onto figure 1");
    EXPECT_EQ(p.part[LUA].rotation[0], 120);
    EXPECT_EQ(p.part[LUA].rotation[1], -2);
    EXPECT_EQ(p.part[LUA].rotation[2], -40);
    EXPECT_EQ(p.part[RUA].rotation[2], 15);
    EXPECT_EQ(p.part[RH].rotation[2], 12.75f);
    EXPECT_EQ(p.part[HEAD].rotation[0], -8);
    EXPECT_EQ(p.part[HEAD].rotation[1], -21.25f);
    EXPECT_EQ(p.part[ROOT].rotation[1], -33);
    for (int i = 0; i < BODY_PART_COUNT; i++)
        for (int k = 0; k < 3; k++)
            EXPECT_FALSE(p.part[i].rotation[k] == 0 && std::signbit(p.part[i].rotation[k])) << "-0 on " << i;

    key(3, CTRL);
    key(22, CTRL | SHIFT);
    EXPECT_TRUE(samePose(p, original));

    // Two steps, each taken back exactly.
    editHistory().undo();
    Person mirrored;
    pastePose(mirrored, mirroredPose(copyPose(original)));
    EXPECT_TRUE(samePose(p, mirrored));
    editHistory().undo();
    EXPECT_TRUE(samePose(p, original));
}

TEST_F(PoseKeys, PasteGoesOntoAnotherFigureKeepingItsPlaceAndPausesIt) {
    app.numPersons = 2;
    strikeAPose(app.persons[0]);
    key(22, CTRL);
    EXPECT_EQ(message(), "no pose to paste: Ctrl+C copies one");
    EXPECT_EQ(editHistory().undoDepth(), 0u);

    key(3, CTRL);
    key('u');
    Person& second = app.persons[1];
    second.setPosition(4, 0, -3);
    second.pushPoseKeyFrame(20);  // a playing figure would take a paste back next frame
    Person before;
    pastePose(before, copyPose(second));
    key(22, CTRL);
    EXPECT_EQ(message(), "pose pasted onto figure 2");
    EXPECT_TRUE(samePose(second, app.persons[0]));
    EXPECT_FALSE(second.animating);
    EXPECT_EQ(second.position[0], 4);
    EXPECT_EQ(second.position[2], -3);
    editHistory().undo();
    EXPECT_TRUE(samePose(second, before));
    EXPECT_TRUE(second.animating);
}

TEST_F(PoseKeys, BackspaceStandsThePartAgainButCtrlHDoesNot) {
    Person& p = app.persons[0];
    p.selectPart(RUA);
    p.part[RUA].rotation[0] = 90;
    p.part[RUA].rotation[2] = 45;
    key(8, CTRL);  // Ctrl+H arrives as Backspace's code
    EXPECT_EQ(p.part[RUA].rotation[0], 90);
    key(8);
    EXPECT_EQ(p.part[RUA].rotation[0], 170);
    EXPECT_EQ(p.part[RUA].rotation[2], 0);
    EXPECT_EQ(message(), "RUA back to standing");
    editHistory().undo();
    EXPECT_EQ(p.part[RUA].rotation[0], 90);
    EXPECT_EQ(p.part[RUA].rotation[2], 45);
}

TEST_F(PoseKeys, ExactValuesAreClampedAppliedAsOneStepAndEscapeLeavesAll) {
    Person& p = app.persons[0];
    p.selectPart(RLA);
    editor.typed = exactValuesOf(p, RLA);
    editor.typed.angle[0] = -500;  // beyond the elbow's -160
    editor.typed.angle[1] = 45;
    editor.typed.x = 2.5f;
    editor.typed.z = -6.25f;
    editor.typed.heading = 123;
    key(5, CTRL);
    EXPECT_EQ(editor.shown.minAngle[0], -160);
    EXPECT_EQ(editor.shown.maxAngle[2], 20);
    EXPECT_EQ(p.part[RLA].rotation[0], -160);
    EXPECT_EQ(p.part[RLA].rotation[1], 45);
    EXPECT_EQ(p.position[0], 2.5f);
    EXPECT_EQ(p.position[2], -6.25f);
    EXPECT_EQ(p.part[ROOT].rotation[1], 123);
    EXPECT_EQ(positionText(p), "2.50, -6.25  heading 123");
    EXPECT_EQ(editHistory().undoDepth(), 1u);

    editor.answer = false;
    editor.typed.angle[1] = 0;
    key(5, CTRL);
    EXPECT_EQ(p.part[RLA].rotation[1], 45);
    EXPECT_EQ(editHistory().undoDepth(), 1u);

    editHistory().undo();
    EXPECT_EQ(p.part[RLA].rotation[0], 0);
    EXPECT_EQ(p.position[0], 0);
    EXPECT_EQ(p.part[ROOT].rotation[1], 0);
}

TEST(PositionText, ShowsTwoDecimalsNeverMinusZeroAndAHeadingInOneTurn) {
    Person p;
    p.setPosition(0.27f, 0, -6.634f);
    p.part[ROOT].rotation[1] = 123;
    EXPECT_EQ(positionText(p), "0.27, -6.63  heading 123");
    p.setPosition(-0.001f, 0, 0);
    p.part[ROOT].rotation[1] = -90;
    EXPECT_EQ(positionText(p), "0.00, 0.00  heading 270");
    p.part[ROOT].rotation[1] = 359.6f;
    EXPECT_EQ(positionText(p), "0.00, 0.00  heading 0");
}

TEST_F(PoseKeys, CtrlDigitsShowTheNamedViewsAndCtrl5ReturnsToTheCameraAsItWas) {
    app.camera.setEye(3, 7, 15);
    app.camera.setTarget(1, 0, -1);
    key(31, CTRL);  // Ctrl+7
    EXPECT_EQ(app.namedView.view, VIEW_TOP);
    key('1', CTRL);
    EXPECT_EQ(app.namedView.view, VIEW_FRONT);
    key(27, CTRL);  // Ctrl+3, Escape's code
    EXPECT_EQ(app.namedView.view, VIEW_RIGHT);
    app.camera.orbit(40, 1);  // a drag while the view shows
    key(29, CTRL);  // Ctrl+5
    EXPECT_EQ(app.namedView.view, VIEW_CAMERA);
    EXPECT_EQ(app.camera.eye[0], 3);
    EXPECT_EQ(app.camera.eye[2], 15);
    EXPECT_EQ(app.camera.target[2], -1);
    // Without Ctrl the digits keep their own commands.
    app.camera.setAnimationOn(true);
    key('1');
    EXPECT_FALSE(app.camera.animationOn);
    EXPECT_EQ(app.namedView.view, VIEW_CAMERA);
    key(27);
    EXPECT_EQ(app.namedView.view, VIEW_CAMERA);
}

// ------------------------------------------------------------ drags

// The window pixel (GLUT's, y down) where a world point shows in a named view.
void pixelOf(const ViewBox& b, const double at[3], int& x, int& y) {
    float f[3], r[3], u[3];
    namedViewAxes(app.namedView.view, f, r, u);
    double sx = 0, sy = 0;
    for (int k = 0; k < 3; k++) {
        sx += (at[k] - b.eye[k]) * r[k];
        sy += (at[k] - b.eye[k]) * u[k];
    }
    x = static_cast<int>(std::lround((sx - b.left) / (b.right - b.left) * app.windowWidth - 0.5));
    y = static_cast<int>(std::lround((b.top - sy) / (b.top - b.bottom) * app.windowHeight - 0.5));
}

// Units per pixel of the named view showing.
double unitsPerPixel() { return (shownViewBox().right - shownViewBox().left) / app.windowWidth; }

void ctrlDrag(int x0, int y0, int x1, int y1) {
    heldModifiers = CTRL;
    onPassiveMotion(x0, y0);
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, x0, y0);
    heldModifiers = 0;
    for (int i = 1; i <= 5; i++) onMotion(x0 + (x1 - x0) * i / 5, y0 + (y1 - y0) * i / 5);
    onMouse(MOUSE_LEFT, 1, x1, y1);
}

TEST_F(PoseKeys, CtrlDraggingTheHandMovesOnlyItsArmAndIsOneUndoStep) {
    Person& p = app.persons[0];
    key('1', CTRL);  // the front view: the drag plane is the screen's
    const WorldFrame lower = partWorldFrame(p, RLA), wrist = partWorldFrame(p, RH);
    double mid[3];
    for (int k = 0; k < 3; k++) mid[k] = (lower.pos[k] + wrist.pos[k]) / 2;  // on the lower arm
    int x, y;
    pixelOf(shownViewBox(), mid, x, y);
    Person before;
    pastePose(before, copyPose(p));

    ctrlDrag(x, y, x - 30, y - 40);
    EXPECT_EQ(p.selectedPart, RLA);
    EXPECT_EQ(app.camera.eye[2], 20) << "a posing drag leaves the camera";
    const WorldFrame moved = partWorldFrame(p, RH);
    const double s = unitsPerPixel();
    EXPECT_NEAR(moved.pos[0] - wrist.pos[0], -30 * s, 1e-3);
    EXPECT_NEAR(moved.pos[1] - wrist.pos[1], 40 * s, 1e-3);
    EXPECT_NEAR(moved.pos[2], wrist.pos[2], 1e-3);
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        if (i == RUA || i == RLA || i == RH) continue;
        EXPECT_EQ(std::memcmp(p.part[i].rotation, before.part[i].rotation, sizeof(float) * 3), 0) << i;
    }
    EXPECT_EQ(editHistory().undoDepth(), 1u);
    editHistory().undo();
    EXPECT_TRUE(samePose(p, before));
}

TEST_F(PoseKeys, CtrlDraggingTheStomachDownCrouchesWithTheFeetWhereTheyWere) {
    Person& p = app.persons[0];
    key('1', CTRL);
    const PlantedFeet feet = plantFeet(p);
    const WorldFrame stomach = partWorldFrame(p, STOMK);
    const double grab[3] = {stomach.pos[0], stomach.pos[1] + 1, stomach.pos[2]};
    int x, y;
    pixelOf(shownViewBox(), grab, x, y);
    const int pixels = static_cast<int>(1.5 / unitsPerPixel());
    ctrlDrag(x, y, x, y + pixels);
    EXPECT_EQ(p.selectedPart, STOMK);
    EXPECT_NEAR(p.position[1], -pixels * unitsPerPixel(), 1e-3);
    for (int f = 0; f < 2; f++) {
        const WorldFrame ankle = partWorldFrame(p, f == 0 ? RF : LF);
        for (int k = 0; k < 3; k++) EXPECT_NEAR(ankle.pos[k], feet.ankle[f][k], 1e-4);
    }
    EXPECT_GT(p.part[RLL].rotation[0], 20);
    EXPECT_GT(p.part[LLL].rotation[0], 20);
    editHistory().undo();
    EXPECT_EQ(p.position[1], 0);
    EXPECT_EQ(p.part[RLL].rotation[0], 0);
}

}  // namespace
