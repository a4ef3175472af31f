// The pop-up menus: what each entry's value does to the selected person and
// to the display settings, and that the labels choose the parts they name.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/app_state.h"
#include "app/menus.h"

namespace {

// Each label names a part; the value it carries must be that part.
const std::map<std::string, int> kNamedParts = {
    {"torso", TORSO},          {"neck", NECK},           {"head", HEAD},
    {"left_upper_arm", LUA},   {"left_lower_arm", LLA},  {"left_hand", LH},
    {"right_upper_arm", RUA},  {"right_lower_arm", RLA}, {"right_hand", RH},
    {"left_upper_leg", LUL},   {"left_lower_leg", LLL},  {"left_foot", LF},
    {"right_upper_leg", RUL},  {"right_lower_leg", RLL}, {"right_foot", RF},
};

}  // namespace

TEST(Menus, BodyLabelsSelectThePartsTheyNameIndentedUnderTheirLimb) {
    ASSERT_EQ(kBodyMenuSize, kNamedParts.size());
    for (std::size_t i = 0; i < kBodyMenuSize; i++) {
        const std::string label = kBodyMenu[i].label;
        const std::size_t indent = label.find_first_not_of(' ');
        const std::string name = label.substr(indent);
        ASSERT_TRUE(kNamedParts.count(name)) << label;
        EXPECT_EQ(kBodyMenu[i].value, kNamedParts.at(name)) << label;
        // Lower limbs one blank in, hands and feet two.
        const bool lower = name.find("lower") != std::string::npos;
        const bool end = name.find("hand") != std::string::npos || name.find("foot") != std::string::npos;
        EXPECT_EQ(indent, end ? 2u : lower ? 1u : 0u) << label;
    }
    EXPECT_STREQ(kBodyMenu[5].label, "  left_hand");

    resetAppState();
    app.selectedPerson = 3;
    mainMenuHandler(kBodyMenu[5].value);
    EXPECT_EQ(app.persons[3].selectedPart, LH);
    EXPECT_EQ(app.persons[0].selectedPart, ROOT) << "only the selected person";
}

TEST(Menus, MainEntriesActOnTheSelectedPerson) {
    resetAppState();
    app.selectedPerson = 1;
    Person& p = app.persons[1];
    const float x = p.position[0];

    p.selectPart(HEAD);
    mainMenuHandler(MENU_SELECT_ROOT);  // the "------" entry
    EXPECT_EQ(p.selectedPart, ROOT);

    p.part[RUA].rotation[0] = 100;
    mainMenuHandler(MENU_PUSH_KEYFRAME);
    EXPECT_EQ(p.kfaPos.numKeyFrames, 1);
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        ASSERT_EQ(p.part[i].kfa.numKeyFrames, 1);
        EXPECT_FLOAT_EQ(p.part[i].kfa.keyFrames[0].steps, 20);
        EXPECT_EQ(p.part[i].kfa.keyFrames[0].mode, ABS);
    }
    EXPECT_FLOAT_EQ(p.part[RUA].kfa.keyFrames[0].x, 100);
    EXPECT_FLOAT_EQ(p.kfaPos.keyFrames[0].x, x);

    mainMenuHandler(MENU_CLEAR_KEYFRAMES);
    EXPECT_EQ(p.kfaPos.numKeyFrames, 0);
    for (int i = 0; i < BODY_PART_COUNT; i++) EXPECT_EQ(p.part[i].kfa.numKeyFrames, 0);

    ASSERT_TRUE(p.animating);
    mainMenuHandler(MENU_TOGGLE_ANIMATE);  // "-setAnimateOn" flips, despite its name
    EXPECT_FALSE(p.animating);
    mainMenuHandler(MENU_TOGGLE_ANIMATE);
    EXPECT_TRUE(p.animating);

    p.setGender(false, 0.7f);
    p.setRightHandItem(ITEM_SWORD);
    mainMenuHandler(MENU_RESET);
    EXPECT_TRUE(p.isMale);
    EXPECT_FLOAT_EQ(p.scale, 1.0f);
    EXPECT_EQ(p.rightHandItem, ITEM_NONE);
    EXPECT_FLOAT_EQ(p.position[0], 0) << "reset puts the figure back at the origin";
    EXPECT_FLOAT_EQ(p.part[RUA].rotation[0], 170);

    EXPECT_EQ(app.persons[0].kfaPos.numKeyFrames, 0) << "others untouched";
}

TEST(Menus, UnknownValuesDoNothing) {
    resetAppState();
    Person& p = app.persons[0];
    p.selectPart(HEAD);
    for (int v : {20, 49, 54, 98, 100}) mainMenuHandler(v);
    EXPECT_EQ(p.selectedPart, HEAD);
    EXPECT_TRUE(p.animating);
    EXPECT_EQ(p.kfaPos.numKeyFrames, 0);
    for (int v : {3, -1, 99}) displayMenuHandler(v);
    EXPECT_FALSE(app.wireframeOn);
    EXPECT_TRUE(app.lightingOn);
    EXPECT_FALSE(app.orthographicView);
}

TEST(Menus, QuitEndsTheProgramWithStatusZero) {
    resetAppState();
    EXPECT_EXIT(mainMenuHandler(MENU_QUIT), testing::ExitedWithCode(0), "");
}

TEST(Menus, DisplayEntriesFlipTheirSwitches) {
    resetAppState();
    displayMenuHandler(MENU_WIREFRAME);
    EXPECT_TRUE(app.wireframeOn);
    displayMenuHandler(MENU_LIGHTING);
    EXPECT_FALSE(app.lightingOn);
    displayMenuHandler(MENU_WIREFRAME);
    displayMenuHandler(MENU_LIGHTING);
    EXPECT_FALSE(app.wireframeOn);
    EXPECT_TRUE(app.lightingOn);
}

TEST(Menus, OrthographicRebuildsTheProjectionAtTheCurrentSize) {
    resetAppState();
    app.windowWidth = 800.75f;  // as the last reshape stored it
    app.windowHeight = 400;
    app.aspectRatio = 1.4f;     // stale: proves the projection was rebuilt now
    displayMenuHandler(MENU_ORTHOGRAPHIC);
    EXPECT_TRUE(app.orthographicView);
    EXPECT_FLOAT_EQ(app.windowWidth, 800) << "the size is passed on truncated";
    EXPECT_FLOAT_EQ(app.aspectRatio, 2.0f);
    EXPECT_FLOAT_EQ(app.textLineSpacing, static_cast<float>(200.0 / 400.5));
    displayMenuHandler(MENU_ORTHOGRAPHIC);
    EXPECT_FALSE(app.orthographicView);
}
