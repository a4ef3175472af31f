// menus.h - the right-button pop-up menus.
//
// The main menu (attached to the right button) holds, in this order, the
// "body" submenu (a body part of the selected person), the "display" submenu
// (wireframe, lighting, the orthographic view), the person commands and
// "quit", the "scene" submenu (save and open whole scenes), the "keyframes"
// submenu with its "go to keyframe" list, and the render-to-file entries.
// Entries are data (label, value); the handlers are GL-free apart from the
// projection rebuild.
#pragma once

#include <cstddef>

struct MenuEntry {
    const char* label;  // leading blanks indent lower limbs under upper ones
    int value;
};

// Values of the main menu's own entries (body values are part indices).
enum MainMenuValue {
    MENU_SELECT_ROOT = 0,
    MENU_RESET = 50,
    MENU_CLEAR_KEYFRAMES = 51,
    MENU_PUSH_KEYFRAME = 52,
    MENU_TOGGLE_ANIMATE = 53,
    MENU_QUIT = 99,
};
enum DisplayMenuValue { MENU_WIREFRAME = 0, MENU_LIGHTING = 1, MENU_ORTHOGRAPHIC = 2 };
enum SceneMenuValue {
    MENU_SAVE_SCENE = 0, MENU_OPEN_SCENE = 1, MENU_MUSIC_FOLLOWS = 2, MENU_RECOVER_AUTOSAVE = 3,
    MENU_MUSIC_FILE = 4,
};

// ---- the "keyframes" sub-menu, after "quit" so no other entry moves
enum KeyFrameMenuValue {
    MENU_KF_FIRST = 1, MENU_KF_PREVIOUS, MENU_KF_NEXT, MENU_KF_LAST,
    MENU_KF_REPLACE, MENU_KF_INSERT, MENU_KF_DELETE, MENU_KF_LENGTHEN, MENU_KF_SHORTEN,
    MENU_KF_UNDO, MENU_KF_REDO,
};
extern const MenuEntry kGoToKeyFrameMenu[];  // the "go to keyframe" sub-menu
extern const std::size_t kGoToKeyFrameMenuSize;
extern const MenuEntry kKeyFrameMenu[];
extern const std::size_t kKeyFrameMenuSize;
// Callback of the "keyframes" menu and its "go to keyframe" sub-menu.
void keyFrameMenuHandler(int value);

// Part values below this select a body part.
constexpr int MENU_PART_LIMIT = 20;
// Length of the keyframe "-pushKeyFrame" records, in steps.
constexpr float MENU_KEYFRAME_STEPS = 20;

extern const MenuEntry kBodyMenu[];
extern const std::size_t kBodyMenuSize;
extern const MenuEntry kDisplayMenu[];
extern const std::size_t kDisplayMenuSize;
extern const MenuEntry kMainMenu[];  // after the "body" and "display" sub-menus
extern const std::size_t kMainMenuSize;
extern const MenuEntry kSceneMenu[];  // the "scene" sub-menu, last in the main menu
extern const std::size_t kSceneMenuSize;

// Builds body, display and main menus in that order and attaches the main
// menu to the right mouse button. Needs the window.
void createMenus();

// Callback of the body and main menus, acting on the selected person.
void mainMenuHandler(int value);
// Callback of the display menu.
void displayMenuHandler(int value);
// Callback of the scene menu: save, open, music following on or off.
void sceneMenuHandler(int value);
