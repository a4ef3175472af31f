// menus.cpp - the right-button pop-up menus: tables, construction, handlers.
#include "app/menus.h"

#include <GL/freeglut.h>

#include <cstdlib>
#include <iterator>

#include "app/app_state.h"
#include "app/reshape.h"
#include "export/window_export.h"
#include "scene/switches.h"

// Upper limbs first, each followed by its lower limb and hand or foot.
const MenuEntry kBodyMenu[] = {
    {"torso", TORSO},
    {"neck", NECK},
    {"head", HEAD},
    {"left_upper_arm", LUA},
    {" left_lower_arm", LLA},
    {"  left_hand", LH},
    {"right_upper_arm", RUA},
    {" right_lower_arm", RLA},
    {"  right_hand", RH},
    {"left_upper_leg", LUL},
    {" left_lower_leg", LLL},
    {"  left_foot", LF},
    {"right_upper_leg", RUL},
    {" right_lower_leg", RLL},
    {"  right_foot", RF},
};
const std::size_t kBodyMenuSize = std::size(kBodyMenu);

const MenuEntry kDisplayMenu[] = {
    {"wireframe", MENU_WIREFRAME},
    {"lighting", MENU_LIGHTING},
    {"orthographic", MENU_ORTHOGRAPHIC},
};
const std::size_t kDisplayMenuSize = std::size(kDisplayMenu);

// GLUT has no separators: "------" is an ordinary entry and selects ROOT.
const MenuEntry kMainMenu[] = {
    {"------", MENU_SELECT_ROOT},
    {"-reset", MENU_RESET},
    {"-clear keyframes", MENU_CLEAR_KEYFRAMES},
    {"-pushKeyFrame", MENU_PUSH_KEYFRAME},
    {"-setAnimateOn", MENU_TOGGLE_ANIMATE},
    {"quit", MENU_QUIT},
};
const std::size_t kMainMenuSize = std::size(kMainMenu);

namespace {

void addEntries(const MenuEntry* entries, std::size_t count) {
    for (std::size_t i = 0; i < count; i++) glutAddMenuEntry(entries[i].label, entries[i].value);
}

}  // namespace

void createMenus() {
    const int body = glutCreateMenu(mainMenuHandler);
    addEntries(kBodyMenu, kBodyMenuSize);
    const int display = glutCreateMenu(displayMenuHandler);
    addEntries(kDisplayMenu, kDisplayMenuSize);
    glutCreateMenu(mainMenuHandler);
    glutAddSubMenu("body", body);
    glutAddSubMenu("display", display);
    addEntries(kMainMenu, kMainMenuSize);
    // Rendering the scene to files, after every entry of the menu proper.
    addExportMenuEntries();
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}

void mainMenuHandler(int value) {
    if (handleExportMenu(value)) return;
    Person& p = app.persons[app.selectedPerson];
    if (value < MENU_PART_LIMIT) {
        p.selectPart(value);
    } else if (value == MENU_RESET) {
        p.reset();
    } else if (value == MENU_CLEAR_KEYFRAMES) {
        p.clearAllKeyFrames();
    } else if (value == MENU_PUSH_KEYFRAME) {
        p.pushPoseKeyFrame(MENU_KEYFRAME_STEPS);
    } else if (value == MENU_TOGGLE_ANIMATE) {
        p.setAnimate(!p.animating);
    } else if (value == MENU_QUIT) {
        std::exit(0);
    }
}

void displayMenuHandler(int value) {
    if (value == MENU_WIREFRAME) {
        toggleWireframe();
    } else if (value == MENU_LIGHTING) {
        toggleLighting();
    } else if (value == MENU_ORTHOGRAPHIC) {
        app.orthographicView = !app.orthographicView;
        // Rebuild the projection now rather than at the next window event.
        reshape(static_cast<int>(app.windowWidth), static_cast<int>(app.windowHeight));
    }
}
