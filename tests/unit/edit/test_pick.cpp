// Picking a body part under the mouse: what is in front wins, small far
// figures and the female chest are hit where they are drawn, a miss changes
// nothing, and only a press and release without a drag counts as a click.
#include <gtest/gtest.h>

#include <cmath>

#include "core/app_state.h"
#include "input/mouse.h"
#include "edit/pick.h"
#include "figure/skeleton.h"

namespace {

// A ray from `from` towards `to`, unclipped.
PickRay rayBetween(const float from[3], const float to[3]) {
    PickRay r;
    float len = 0;
    for (int k = 0; k < 3; k++) {
        r.origin[k] = from[k];
        r.dir[k] = to[k] - from[k];
        len += r.dir[k] * r.dir[k];
    }
    len = std::sqrt(len);
    for (int k = 0; k < 3; k++) r.dir[k] /= len;
    r.tMin = 0;
    r.tMax = 1e6f;
    return r;
}

// Point `local` of part `idx`'s frame in the scene: the part's matrix and
// its ancestors' applied in turn, child first.
void partPoint(Person& p, int idx, const float local[3], float out[3]) {
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
    float v[3] = {local[0], local[1], local[2]};
    for (const BodyPart* n = &p.part[idx]; n;) {
        const float* m = n->transform;
        float g[3];
        for (int r = 0; r < 3; r++)
            g[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r];
        for (int r = 0; r < 3; r++) v[r] = g[r];
        const int parent = skeleton::kParent[n->index];
        n = parent < 0 ? nullptr : &p.part[parent];
    }
    for (int k = 0; k < 3; k++) out[k] = v[k];
}

// Half-way along the part's length.
void partMiddle(Person& p, int idx, float out[3]) {
    const float local[3] = {0, 0.5f * p.part[idx].length, 0};
    partPoint(p, idx, local, out);
}

void standAt(Person& p, float x, float y, float z) {
    p.setPosition(x, y, z);
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
}

}  // namespace

TEST(PickPart, TheFigureInFrontWinsAndTheOneBehindIsPickedWhenAlone) {
    resetAppState();
    Person* p = app.persons;
    standAt(p[0], 0, 0, 0);
    standAt(p[1], 0, 0, 6);  // right in front of figure 0, seen from +z
    float chest[3];
    partMiddle(p[0], TORSO, chest);
    const float eye[3] = {0, chest[1], 40};
    PickHit hit;
    ASSERT_TRUE(pickPart(p, 2, rayBetween(eye, chest), hit));
    EXPECT_EQ(hit.person, 1);
    EXPECT_EQ(hit.part, TORSO);
    EXPECT_NEAR(hit.distance, 40 - 6 - p[1].part[TORSO].radius, 0.05f);

    // Seen from behind the order turns round.
    const float behind[3] = {0, chest[1], -40};
    ASSERT_TRUE(pickPart(p, 2, rayBetween(behind, chest), hit));
    EXPECT_EQ(hit.person, 0);

    // Only the figures in use count: with one figure, the first is hit.
    ASSERT_TRUE(pickPart(p, 1, rayBetween(eye, chest), hit));
    EXPECT_EQ(hit.person, 0);
    EXPECT_EQ(hit.part, TORSO);
}

TEST(PickPart, EveryPartIsHitAtItsMiddleAlsoWhenSmallAndFarAndTurned) {
    resetAppState();
    Person& p = app.persons[0];
    p.setGender(true, 0.3f);
    standAt(p, 5, -5, -600);
    const float eye[3] = {0, 5, 20};
    // Parts a ray from the front can reach at their middle.
    const int visible[] = {HEAD, TORSO, RUA, LUA, RLA, LLA, RUL, LUL, RLL, LLL};
    for (int idx : visible) {
        float mid[3];
        partMiddle(p, idx, mid);
        PickHit hit;
        ASSERT_TRUE(pickPart(&p, 1, rayBetween(eye, mid), hit)) << kBodyPartLabels[idx];
        EXPECT_EQ(hit.part, idx) << kBodyPartLabels[idx];
    }
    // Turned away, the head is still found where its matrix puts it.
    p.part[ROOT].rotation[1] = 180;
    p.part[NECK].rotation[0] = 25;
    float head[3];
    partMiddle(p, HEAD, head);
    PickHit hit;
    ASSERT_TRUE(pickPart(&p, 1, rayBetween(eye, head), hit));
    EXPECT_EQ(hit.part, HEAD);
}

TEST(PickPart, TheFemaleChestStandsOutWhereAMaleHasNothing) {
    resetAppState();
    Person& p = app.persons[0];
    standAt(p, 0, 0, 0);
    p.setGender(false, 1.0f);
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
    float chest[3];
    partMiddle(p, TORSO, chest);
    const float R = p.part[TORSO].radius, L = p.part[TORSO].length;
    // A ray across the front of the chest, clear of the chest block (z R)
    // and the arms, at the height of the chest spheres.
    const float y = chest[1] - 0.5f * L + 0.65f * L, z = 1.5f * R;
    const float from[3] = {-30, y, z}, to[3] = {30, y, z};
    PickHit hit;
    ASSERT_TRUE(pickPart(&p, 1, rayBetween(from, to), hit));
    EXPECT_EQ(hit.part, TORSO);

    p.setGender(true, 1.0f);
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
    EXPECT_FALSE(pickPart(&p, 1, rayBetween(from, to), hit));
}

TEST(PickPart, AHeldSwordIsPickedAsItsHandItem) {
    resetAppState();
    Person& p = app.persons[0];
    p.setRightHandItem(ITEM_SWORD);
    standAt(p, 0, 0, 0);
    // Half-way along the blade, which runs 8 units down the item's -z.
    const float bladeMiddle[3] = {0, 0, -4};
    float blade[3];
    partPoint(p, RHI, bladeMiddle, blade);
    const float side[3] = {blade[0] - 30, blade[1], blade[2]};  // from the figure's right
    PickHit hit;
    ASSERT_TRUE(pickPart(&p, 1, rayBetween(side, blade), hit));
    EXPECT_EQ(hit.part, RHI);
    EXPECT_NEAR(hit.distance, 30 - 0.07f, 0.01f);

    p.setRightHandItem(ITEM_NONE);
    EXPECT_FALSE(pickPart(&p, 1, rayBetween(side, blade), hit) && hit.part == RHI);
}

TEST(PickAtPixel, TheWindowCentreHitsTheStartFigureAndEmptySkyChangesNothing) {
    resetAppState();
    Person& p = app.persons[0];
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
    // The start camera looks from (0, 5, 20) at the origin: the middle of
    // the window falls on the root of the figure, in its pelvis.
    EXPECT_TRUE(selectPartAtPixel(350, 250));
    EXPECT_EQ(p.selectedPart, PELVIS);

    app.numPersons = 2;
    app.persons[1].setPosition(30, 0, 0);
    for (int i = 0; i < BODY_PART_COUNT; i++) app.persons[1].computePartTransform(i);
    EXPECT_FALSE(selectPartAtPixel(350, 10));  // sky above the figure
    EXPECT_FALSE(selectPartAtPixel(690, 490));  // stage floor, no figure
    EXPECT_EQ(app.selectedPerson, 0);
    EXPECT_EQ(p.selectedPart, PELVIS);

    // Nothing is picked through the help pages or the keyboard chart.
    p.selectPart(ROOT);
    app.keyboardChartVisible = true;
    EXPECT_FALSE(selectPartAtPixel(350, 250));
    app.keyboardChartVisible = false;
    app.helpVisible = true;
    EXPECT_FALSE(selectPartAtPixel(350, 250));
    EXPECT_EQ(p.selectedPart, ROOT);
}

TEST(ClickToSelect, PressAndReleaseWithinThreePixelsSelectsButADragDoesNot) {
    resetAppState();
    Person& p = app.persons[0];
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
    const int RELEASED = 1;

    onPassiveMotion(350, 250);
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 350, 250);
    onMotion(352, 252);  // hand jitter
    onMouse(MOUSE_LEFT, RELEASED, 353, 250);
    EXPECT_EQ(p.selectedPart, PELVIS);
    EXPECT_FALSE(app.leftButtonDown);

    // A drag that wanders off and comes back is still a drag.
    p.selectPart(ROOT);
    onPassiveMotion(350, 250);
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 350, 250);
    onMotion(354, 250);
    onMotion(350, 250);
    onMouse(MOUSE_LEFT, RELEASED, 350, 250);
    EXPECT_EQ(p.selectedPart, ROOT);

    // Released 4 pixels away: a drag. The middle button never selects.
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 350, 250);
    onMouse(MOUSE_LEFT, RELEASED, 350, 254);
    onMouse(MOUSE_MIDDLE, MOUSE_PRESSED, 350, 250);
    onMouse(MOUSE_MIDDLE, RELEASED, 350, 250);
    EXPECT_EQ(p.selectedPart, ROOT);

    // A click on a help page turns the page and selects nothing.
    app.helpVisible = true;
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 350, 250);
    app.helpVisible = false;
    onMouse(MOUSE_LEFT, RELEASED, 350, 250);
    EXPECT_EQ(app.helpPage, 1);
    EXPECT_EQ(p.selectedPart, ROOT);
}

TEST(MouseWheel, WheelButtonsZoomOnceEachAndNotUnderHelp) {
    resetAppState();
    const int RELEASED = 1;
    onMouse(MOUSE_WHEEL_UP, MOUSE_PRESSED, 0, 0);
    onMouse(MOUSE_WHEEL_UP, RELEASED, 0, 0);
    const float* e = app.camera.eye;
    EXPECT_NEAR(std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]), 0.9f * std::sqrt(425.0f), 1e-3f);
    onMouseWheel(0, -1, 0, 0);
    EXPECT_NEAR(e[2], 20, 1e-3f);
    app.helpVisible = true;
    onMouse(MOUSE_WHEEL_DOWN, MOUSE_PRESSED, 0, 0);
    EXPECT_NEAR(e[2], 20, 1e-3f);
    EXPECT_EQ(app.helpPage, 0);
}
