// menus.cpp - the right-button pop-up menus: tables, construction, handlers.
#include "app/menus.h"

#include <GL/freeglut.h>

#include <cstdlib>
#include <iterator>

#include "core/app_state.h"
#include "scene/reshape.h"
#include "edit/edit_commands.h"
#include "edit/keyframe_edit.h"
#include "export/window_export.h"
#include "scene/autosave.h"
#include "edit/music_commands.h"
#include "scene/scene_commands.h"
#include "scene/switches.h"
#include "ui/quit_dialog.h"

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

// Whole scenes. Last in the main menu, so every older entry keeps its place.
const MenuEntry kSceneMenu[] = {
    {"save scene (Ctrl+S)", MENU_SAVE_SCENE},
    {"open scene (Ctrl+O)", MENU_OPEN_SCENE},
    {"music follows timeline on/off", MENU_MUSIC_FOLLOWS},
    {"recover autosave", MENU_RECOVER_AUTOSAVE},
    {"music...", MENU_MUSIC_FILE},
};
const std::size_t kSceneMenuSize = std::size(kSceneMenu);
const MenuEntry kGoToKeyFrameMenu[] = {
    {"first", MENU_KF_FIRST},
    {"previous", MENU_KF_PREVIOUS},
    {"next", MENU_KF_NEXT},
    {"last", MENU_KF_LAST},
};
const std::size_t kGoToKeyFrameMenuSize = std::size(kGoToKeyFrameMenu);

const MenuEntry kKeyFrameMenu[] = {
    {"replace with pose", MENU_KF_REPLACE},
    {"insert pose after", MENU_KF_INSERT},
    {"delete", MENU_KF_DELETE},
    {"lengthen by 5", MENU_KF_LENGTHEN},
    {"shorten by 5", MENU_KF_SHORTEN},
    {"undo", MENU_KF_UNDO},
    {"redo", MENU_KF_REDO},
};
const std::size_t kKeyFrameMenuSize = std::size(kKeyFrameMenu);

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
    const int scene = glutCreateMenu(sceneMenuHandler);
    addEntries(kSceneMenu, kSceneMenuSize);
    glutCreateMenu(mainMenuHandler);
    glutAddSubMenu("body", body);
    glutAddSubMenu("display", display);
    addEntries(kMainMenu, kMainMenuSize);
    glutAddSubMenu("scene", scene);
    const int main = glutGetMenu();
    // The keyframes menu comes last, so every entry above keeps its place.
    const int goTo = glutCreateMenu(keyFrameMenuHandler);
    addEntries(kGoToKeyFrameMenu, kGoToKeyFrameMenuSize);
    const int keyFrames = glutCreateMenu(keyFrameMenuHandler);
    glutAddSubMenu("go to keyframe", goTo);
    addEntries(kKeyFrameMenu, kKeyFrameMenuSize);
    glutSetMenu(main);
    glutAddSubMenu("keyframes", keyFrames);
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
        noteFigureChange("reset", app.selectedPerson);
        p.reset();
    } else if (value == MENU_CLEAR_KEYFRAMES) {
        noteFigureChange("clear keyframes", app.selectedPerson);
        p.clearAllKeyFrames();
    } else if (value == MENU_PUSH_KEYFRAME) {
        static_assert(MENU_KEYFRAME_STEPS == RECORDED_KEYFRAME_STEPS, "the menu records as F7 does");
        recordKeyFrameCommand();
    } else if (value == MENU_TOGGLE_ANIMATE) {
        p.setAnimate(!p.animating);
    } else if (value == MENU_QUIT) {
        quitProgram();
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

void sceneMenuHandler(int value) {
    if (value == MENU_SAVE_SCENE) saveSceneDialog();
    else if (value == MENU_OPEN_SCENE) openSceneDialog();
    else if (value == MENU_MUSIC_FOLLOWS) toggleMusicFollowing();
    else if (value == MENU_RECOVER_AUTOSAVE) recoverAutosave();
    else if (value == MENU_MUSIC_FILE) chooseMusicDialog();
}

void keyFrameMenuHandler(int value) {
    switch (value) {
    case MENU_KF_FIRST: goToKeyFrameCommand(KF_FIRST); break;
    case MENU_KF_PREVIOUS: goToKeyFrameCommand(KF_PREVIOUS); break;
    case MENU_KF_NEXT: goToKeyFrameCommand(KF_NEXT); break;
    case MENU_KF_LAST: goToKeyFrameCommand(KF_LAST); break;
    case MENU_KF_REPLACE: replaceKeyFrameCommand(); break;
    case MENU_KF_INSERT: insertKeyFrameCommand(); break;
    case MENU_KF_DELETE: deleteKeyFrameCommand(); break;
    case MENU_KF_LENGTHEN: changeKeyFrameLengthCommand(+KEYFRAME_LENGTH_STEP); break;
    case MENU_KF_SHORTEN: changeKeyFrameLengthCommand(-KEYFRAME_LENGTH_STEP); break;
    case MENU_KF_UNDO: undoCommand(); break;
    case MENU_KF_REDO: redoCommand(); break;
    default: break;
    }
}
