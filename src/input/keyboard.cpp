// keyboard.cpp - the key map.
//
// Sections (search "[SECTION]"):
//   Constants and helpers
//   Built-in scenes
//   Key presses
//   Key releases and special keys
//   Editing keys
//   Undo steps for key presses and special keys
//   Posing and view keys
//
// Conventions: the play rate and the scale are stepped in double precision
// and stored as float, so repeated steps round the same way every time.
// Nothing here draws; state changes show in the next frame.
#include "input/keyboard.h"

#include <GL/freeglut.h>  // key codes only

#include "base/data_folder.h"
#include "core/app_state.h"
#include "audio/music_control.h"
#include "base/platform.h"
#include "choreo/coded_animations.h"
#include "edit/beat_snap.h"
#include "edit/edit_commands.h"
#include "edit/keyframe_edit.h"
#include "edit/timeline_commands.h"
#include "edit/pose_commands.h"
#include "camera/named_views.h"
#include "io/file_chooser.h"
#include "edit/music_commands.h"
#include "scene/scene_commands.h"
#include "scene/switches.h"
#include "ui/dope_sheet.h"

// [SECTION] Constants and helpers

namespace {

constexpr unsigned char KEY_TAB = '\t';
constexpr unsigned char KEY_CTRL_O = 15;  // what GLUT passes for Ctrl+O
constexpr unsigned char KEY_CTRL_S = 19;
constexpr int PART_TURN_STEP = 4;                   // degrees, keys q w a s z x
constexpr float HEIGHT_STEP = 0.3f;                 // keys c v
constexpr double SCALE_STEP = 0.02;                 // keys b n
constexpr double SMALLEST_SHRINKABLE_SCALE = 0.08;  // n shrinks only above it
constexpr double PLAY_RATE_STEP = 0.2;              // keys = -
constexpr int CAMERA_TOUR_STEPS = 200;              // keys 2 4

Person& selected() { return app.persons[app.selectedPerson]; }

}  // namespace

bool keyOpensDialog(unsigned char key) { return key == KEY_CTRL_S || key == KEY_CTRL_O; }

namespace {

void stepPlayRate(double delta) { app.playRate = static_cast<float>(app.playRate + delta); }

void stepScale(double delta) {
    Person& p = selected();
    p.setScale(static_cast<float>(p.scale + delta));
}

void nextPerson() {
    if (app.numPersons > 0) app.selectedPerson = (app.selectedPerson + 1) % app.numPersons;
}

void previousPerson() {
    if (app.numPersons > 0) app.selectedPerson -= 1;
    if (app.selectedPerson < 0) app.selectedPerson = app.numPersons - 1;
}

// [SECTION] Built-in scenes
// Count and selection are set first, so the files always go to persons 0
// and 1 whatever was selected before.

// A built-in file from the data folder, named in the error line if missing.
void loadBuiltIn(Person& p, const char* file) { p.loadAnimation(dataFile(file).c_str(), true); }

void supermanScene() {
    app.selectedPerson = 0;
    app.numPersons = 1;
    app.persons[0].setRightHandItem(ITEM_NONE);
    loadBuiltIn(app.persons[0], SUPERMAN_FILE);
    app.cameraMode = CAM_SHIFT_TOWARDS_PERSON;  // the camera follows him
}

void boyAndGirlScene() {
    app.selectedPerson = 0;
    app.numPersons = 2;
    Person& boy = app.persons[0];
    Person& girl = app.persons[1];
    boy.setRightHandItem(ITEM_FLOWER);
    girl.setRightHandItem(ITEM_NONE);
    boy.setGender(true, 1.0f);
    girl.setGender(false, 1.0f);
    loadBuiltIn(boy, BOY_FILE);
    loadBuiltIn(girl, GIRL_FILE);
}

void swordFightScene() {
    app.selectedPerson = 0;
    app.numPersons = 2;
    Person& first = app.persons[0];
    Person& second = app.persons[1];
    first.setRightHandItem(ITEM_SWORD);
    second.setRightHandItem(ITEM_SWORD);
    first.setGender(true, 1.0f);
    second.setGender(true, 1.0f);
    second.setSkin(TEX_SKIN_DARK);
    loadBuiltIn(first, SWORDFIGHT1_FILE);
    loadBuiltIn(second, SWORDFIGHT2_FILE);
}

void lawnmowerScene() {
    for (int i = 0; i < app.numPersons; i++) loadBuiltIn(app.persons[i], LAWNMOWER_FILE);
}

// A tour writes over the camera's track and plays it at once, even where
// the track stood paused for recording.
void startTour() {
    app.camera.setAnimationOn(true);
    app.camera.trackPaused = false;
}

// Key 2 starts the orbit tour, or stops the camera where it is.
void toggleOrbitTour() {
    if (app.camera.animationOn) {
        app.camera.setAnimationOn(false);
        return;
    }
    startTour();
    ani_cameraRotate(app.camera, CAMERA_TOUR_STEPS);
}

void lowOrbitTour() {
    app.selectedPerson = 0;
    app.numPersons = 3;
    startTour();
    ani_cameraLowOrbit(app.camera, CAMERA_TOUR_STEPS);
}

bool onEditKey(unsigned char key);
bool onPoseKey(unsigned char key);
bool onEditSpecialKey(int key);
void noteKeyChange(unsigned char key);
void afterKeyChange(unsigned char key);
void noteSpecialKeyChange(int key);

}  // namespace

// [SECTION] Key presses

void onKeyboard(unsigned char key, int, int) {
    if (onPoseKey(key)) return;
    if (onEditKey(key)) return;
    noteKeyChange(key);
    Person& p = selected();
    switch (key) {
    case KEY_TAB: app.tabHeld = true; break;
    case ' ': app.spinMode = !app.spinMode; break;
    case ',': app.playRate = -1.0f; break;
    case '-': stepPlayRate(-PLAY_RATE_STEP); break;
    case '.': app.playRate = 1.0f; break;
    case '/': app.playRate = 0.0f; break;
    case '=': stepPlayRate(+PLAY_RATE_STEP); break;
    case '0': supermanScene(); break;
    case '1': app.camera.setAnimationOn(false); break;
    case '2': toggleOrbitTour(); break;
    case '3': startTour(); ani_cameraFlyBy(app.camera); break;
    case '4': lowOrbitTour(); break;
    case '5': boyAndGirlScene(); break;
    case '6': swordFightScene(); break;
    case '7': ani_personSkip(p); break;
    case '8': lawnmowerScene(); break;
    case '9': ani_personFourStepCycle(p); break;
    case '[': p.cycleRightHandItem(+1); break;
    case ']': p.cycleLeftHandItem(+1); break;
    case 'a': p.rotateSelectedPart(-PART_TURN_STEP, 1); break;
    case 'b': stepScale(+SCALE_STEP); break;
    case 'c': p.movePosition(+HEIGHT_STEP, 1); break;
    case 'd': musicKey(); break;
    case 'e': changeCameraMode(+1); break;
    case 'h': app.keyboardChartVisible = !app.keyboardChartVisible; break;
    case 'i': previousPerson(); break;
    case 'j': ani_personTwoStepCycle(p); break;
    case 'k': ani_personKickLeft(p); break;
    case 'l': ani_personKickRight(p); break;
    case 'm': p.setMale(!p.isMale); break;
    case 'n': if (p.scale > SMALLEST_SHRINKABLE_SCALE) stepScale(-SCALE_STEP); break;
    case 'o': if (app.numPersons < MAX_PERSONS) app.numPersons += 1; break;
    case 'p': if (app.numPersons > 0) app.numPersons -= 1; break;
    case 'q': p.rotateSelectedPart(-PART_TURN_STEP, 0); break;
    case 'r': app.frameLimiterOn = !app.frameLimiterOn; break;
    case 's': p.rotateSelectedPart(+PART_TURN_STEP, 1); break;
    case 't': p.stepSelectedPart(-1); break;
    case 'u': nextPerson(); break;
    case 'v': p.movePosition(-HEIGHT_STEP, 1); break;
    case 'w': p.rotateSelectedPart(+PART_TURN_STEP, 0); break;
    case 'x': p.rotateSelectedPart(+PART_TURN_STEP, 2); break;
    case 'y': p.stepSelectedPart(+1); break;
    case 'z': p.rotateSelectedPart(-PART_TURN_STEP, 2); break;
    // ---- whole scenes
    case KEY_CTRL_S: saveSceneDialog(); break;
    case KEY_CTRL_O: openSceneDialog(); break;
    default: break;
    }
    afterKeyChange(key);
}

// [SECTION] Key releases and special keys

void onKeyboardUp(unsigned char key, int, int) {
    if (key == KEY_TAB) app.tabHeld = false;
}

void onSpecialKey(int key, int, int) {
    if (onEditSpecialKey(key)) return;
    noteSpecialKeyChange(key);
    Person& p = selected();
    switch (key) {
    case GLUT_KEY_F1: toggleHelp(); break;
    case GLUT_KEY_F2: toggleWireframe(); break;
    case GLUT_KEY_F3: toggleTextures(); break;
    case GLUT_KEY_F4: toggleAnimate(); break;
    // F5, F6, F7: the dialogs and the recording, with an undo step and a message.
    case GLUT_KEY_F5: openAnimationCommand(); break;
    case GLUT_KEY_F6: saveAnimationCommand(); break;
    case GLUT_KEY_F7: recordKeyFrameCommand(); break;
    case GLUT_KEY_F8: p.setShowTrail(!p.showTrail); break;
    case GLUT_KEY_F9: toggleLight(0); break;
    case GLUT_KEY_F10: toggleLight(1); break;
    case GLUT_KEY_F11: toggleLight(2); break;
    case GLUT_KEY_F12: toggleLight(3); break;
    case GLUT_KEY_LEFT: app.leftHeld = true; break;
    case GLUT_KEY_UP: app.upHeld = true; break;
    case GLUT_KEY_RIGHT: app.rightHeld = true; break;
    case GLUT_KEY_DOWN: app.downHeld = true; break;
    default: break;
    }
}

void onSpecialKeyUp(int key, int, int) {
    switch (key) {
    case GLUT_KEY_LEFT: app.leftHeld = false; break;
    case GLUT_KEY_UP: app.upHeld = false; break;
    case GLUT_KEY_RIGHT: app.rightHeld = false; break;
    case GLUT_KEY_DOWN: app.downHeld = false; break;
    default: break;
    }
}

// [SECTION] Editing keys
// Keys the original map leaves unused: Return, Delete, the control codes
// GLUT sends for Ctrl+B, Ctrl+D, Ctrl+K, Ctrl+R, Ctrl+T, Ctrl+Y and Ctrl+Z,
// the page, insert and home keys with their modifiers, and the left and
// right arrows with Alt. GLUT sends Return for Ctrl+M too; only the held
// Ctrl tells Ctrl+Return from Return.

namespace {

constexpr unsigned char KEY_RETURN = '\r';
constexpr unsigned char KEY_DELETE = 127;
constexpr unsigned char KEY_CTRL_D = 4;
constexpr unsigned char KEY_CTRL_K = 11;
constexpr unsigned char KEY_CTRL_B = 2;
constexpr unsigned char KEY_CTRL_R = 18;
constexpr unsigned char KEY_CTRL_T = 20;
constexpr unsigned char KEY_CTRL_Y = 25;
constexpr unsigned char KEY_CTRL_Z = 26;

bool ctrlHeld() { return (platform::modifiers() & platform::MOD_CTRL) != 0; }
bool shiftHeld() { return (platform::modifiers() & platform::MOD_SHIFT) != 0; }
bool altHeld() { return (platform::modifiers() & platform::MOD_ALT) != 0; }

bool onEditKey(unsigned char key) {
    switch (key) {
    case KEY_RETURN: if (ctrlHeld()) playSceneCommand(); else togglePlaySelected(); return true;
    case KEY_DELETE: if (!dopeSheetDeleteAtPointer()) deleteKeyFrameCommand(); return true;
    case KEY_CTRL_D: toggleDopeSheet(); return true;
    case KEY_CTRL_K: if (shiftHeld()) clearCameraTrackCommand(); else recordCameraKeyFrameCommand(); return true;
    case KEY_CTRL_T: if (shiftHeld()) applyKindToFigureCommand(); else cycleKeyFrameKindCommand(); return true;
    case KEY_CTRL_R: replaceKeyFrameCommand(); return true;
    case KEY_CTRL_B: toggleBeatSnapping(); return true;
    case KEY_CTRL_Y: redoCommand(); return true;
    case KEY_CTRL_Z: if (shiftHeld()) redoCommand(); else undoCommand(); return true;
    default: return false;
    }
}

bool onEditSpecialKey(int key) {
    switch (key) {
    // Alt with an arrow moves the music, not the figure; the arrow is not held.
    case GLUT_KEY_LEFT: case GLUT_KEY_RIGHT:
        if (!altHeld()) return false;
        nudgeMusic(key == GLUT_KEY_RIGHT ? +1 : -1);
        return true;
    case GLUT_KEY_PAGE_UP:
        if (ctrlHeld()) changeKeyFrameLengthCommand(+KEYFRAME_LENGTH_STEP);
        else goToKeyFrameCommand(KF_PREVIOUS);
        return true;
    case GLUT_KEY_PAGE_DOWN:
        if (ctrlHeld()) changeKeyFrameLengthCommand(-KEYFRAME_LENGTH_STEP);
        else goToKeyFrameCommand(KF_NEXT);
        return true;
    case GLUT_KEY_HOME: if (ctrlHeld()) rewindSceneCommand(); else goToKeyFrameCommand(KF_FIRST); return true;
    case GLUT_KEY_F7:
        if (!shiftHeld()) return false;  // F7 alone records the whole pose
        recordPartKeyFrameCommand();
        return true;
    case GLUT_KEY_END: goToKeyFrameCommand(KF_LAST); return true;
    case GLUT_KEY_INSERT: insertKeyFrameCommand(); return true;
    default: return false;
    }
}

}  // namespace

// [SECTION] Undo steps for key presses and special keys
// Which figures a key changes, recorded before it acts. Pose, scale, item and
// show/hide keys run: a key held or repeated is one step. Loads (scenes and
// choreographies) leave the loaded figures with nothing unsaved.

namespace {

enum KeyScope { ON_SELECTED, ON_FIRST, ON_FIRST_TWO, ON_SHOWN, ON_COUNT };
enum KeyWarn { NO_WARNING, WARN_PART, WARN_POSITION };

struct UndoableKey {
    unsigned char key;
    const char* label;  // "turn" keys add the part's label
    KeyScope scope;
    bool runs;
    bool loads;
    KeyWarn warn;
};

constexpr UndoableKey kUndoableKeys[] = {
    {'0', "superman scene", ON_FIRST, false, true, NO_WARNING},
    {'5', "boy and girl scene", ON_FIRST_TWO, false, true, NO_WARNING},
    {'6', "sword fight scene", ON_FIRST_TWO, false, true, NO_WARNING},
    {'7', "skip", ON_SELECTED, false, true, NO_WARNING},
    {'8', "lawnmower scene", ON_SHOWN, false, true, NO_WARNING},
    {'9', "four-step cycle", ON_SELECTED, false, true, NO_WARNING},
    {'j', "two-step cycle", ON_SELECTED, false, true, NO_WARNING},
    {'k', "kick left", ON_SELECTED, false, true, NO_WARNING},
    {'l', "kick right", ON_SELECTED, false, true, NO_WARNING},
    {'[', "right-hand item", ON_SELECTED, true, false, NO_WARNING},
    {']', "left-hand item", ON_SELECTED, true, false, NO_WARNING},
    {'a', "turn", ON_SELECTED, true, false, WARN_PART},
    {'q', "turn", ON_SELECTED, true, false, WARN_PART},
    {'s', "turn", ON_SELECTED, true, false, WARN_PART},
    {'w', "turn", ON_SELECTED, true, false, WARN_PART},
    {'x', "turn", ON_SELECTED, true, false, WARN_PART},
    {'z', "turn", ON_SELECTED, true, false, WARN_PART},
    {'c', "move up", ON_SELECTED, true, false, WARN_POSITION},
    {'v', "move down", ON_SELECTED, true, false, WARN_POSITION},
    {'b', "scale", ON_SELECTED, true, false, NO_WARNING},
    {'n', "scale", ON_SELECTED, true, false, NO_WARNING},
    {'m', "gender", ON_SELECTED, false, false, NO_WARNING},
    {'o', "show figure", ON_COUNT, true, false, NO_WARNING},
    {'p', "hide figure", ON_COUNT, true, false, NO_WARNING},
};

const UndoableKey* undoableKey(unsigned char key) {
    for (const UndoableKey& k : kUndoableKeys)
        if (k.key == key) return &k;
    return nullptr;
}

// Repeats of one key on one part of one figure fold into a step.
long runKeyOf(int key) {
    const Person& p = selected();
    return 1 + key + 1024L * (p.selectedPart + 32L * app.selectedPerson);
}

void noteKeyChange(unsigned char key) {
    const UndoableKey* k = undoableKey(key);
    if (!k) return;
    std::string label = k->label;
    if (k->warn == WARN_PART) label += std::string(" ") + kBodyPartLabels[selected().selectedPart];
    const long run = k->runs ? runKeyOf(key) : 0;
    switch (k->scope) {
    case ON_SELECTED: noteFigureChange(label, app.selectedPerson, run); break;
    case ON_FIRST: noteFiguresChange(label, 0, 1); break;
    case ON_FIRST_TWO: noteFiguresChange(label, 0, 2); break;
    case ON_SHOWN: noteFiguresChange(label, 0, app.numPersons); break;
    case ON_COUNT: noteCountChange(label, run); break;
    }
}

void afterKeyChange(unsigned char key) {
    const UndoableKey* k = undoableKey(key);
    if (!k) return;
    if (k->warn == WARN_PART) warnIfPlaying(app.selectedPerson, selected().selectedPart);
    if (k->warn == WARN_POSITION) warnIfPlaying(app.selectedPerson, -1);
    if (!k->loads) return;
    switch (k->scope) {
    case ON_FIRST: markKeyFramesSaved(0); break;
    case ON_FIRST_TWO: markKeyFramesSaved(0); markKeyFramesSaved(1); break;
    case ON_SHOWN: for (int i = 0; i < app.numPersons; i++) markKeyFramesSaved(i); break;
    default: markKeyFramesSaved(app.selectedPerson); break;
    }
}

// Held arrows walk and turn the figure over many frames: the key-down (and
// its repeats) records the step before the first frame moves it.
void noteSpecialKeyChange(int key) {
    const bool turns = !app.tabHeld && (key == GLUT_KEY_LEFT || key == GLUT_KEY_RIGHT);
    switch (key) {
    case GLUT_KEY_LEFT: case GLUT_KEY_RIGHT: case GLUT_KEY_UP: case GLUT_KEY_DOWN:
        noteFigureChange(turns ? "turn figure" : "walk", app.selectedPerson, runKeyOf(1000 + key));
        warnIfPlaying(app.selectedPerson, turns ? ROOT : -1);
        break;
    default: break;
    }
}

}  // namespace

// [SECTION] Posing and view keys
// Under X, GLUT passes Ctrl+letter as the letter's control code, Ctrl+3,
// Ctrl+5 and Ctrl+7 as the codes 27, 29 and 31 (Ctrl+3 is Escape's code),
// Ctrl+1 as '1' itself, and Ctrl+H as Backspace: each row says which
// modifiers it needs, and the first row that fits wins.

namespace {

constexpr unsigned char KEY_BACKSPACE = 8;
constexpr unsigned char KEY_CTRL_C = 3;
constexpr unsigned char KEY_CTRL_E = 5;
constexpr unsigned char KEY_CTRL_V = 22;
constexpr unsigned char KEY_CTRL_3 = 27;
constexpr unsigned char KEY_CTRL_5 = 29;
constexpr unsigned char KEY_CTRL_7 = 31;

enum KeyNeeds { NEEDS_CTRL, NEEDS_CTRL_SHIFT, NEEDS_NO_CTRL };

// A named view framing the figures shown, in the window as it is.
void showView(int view) {
    showNamedView(app.namedView, app.camera, view, app.persons, app.numPersons, app.windowWidth, app.windowHeight);
}

struct PoseKey {
    unsigned char key;
    KeyNeeds needs;
    void (*command)();
};

constexpr PoseKey kPoseKeys[] = {
    {KEY_CTRL_C, NEEDS_CTRL, [] { copyPoseCommand(); }},
    {KEY_CTRL_V, NEEDS_CTRL_SHIFT, [] { pastePoseCommand(true); }},
    {KEY_CTRL_V, NEEDS_CTRL, [] { pastePoseCommand(false); }},
    {KEY_CTRL_E, NEEDS_CTRL, [] { exactValuesCommand(); }},
    {KEY_BACKSPACE, NEEDS_NO_CTRL, [] { resetPartCommand(); }},
    {KEY_CTRL_7, NEEDS_CTRL, [] { showView(VIEW_TOP); }},
    {'1', NEEDS_CTRL, [] { showView(VIEW_FRONT); }},
    {KEY_CTRL_3, NEEDS_CTRL, [] { showView(VIEW_RIGHT); }},
    {KEY_CTRL_5, NEEDS_CTRL, [] { showCameraView(app.namedView, app.camera); }},
};

bool fits(KeyNeeds needs) {
    switch (needs) {
    case NEEDS_CTRL: return ctrlHeld();
    case NEEDS_CTRL_SHIFT: return ctrlHeld() && shiftHeld();
    case NEEDS_NO_CTRL: return !ctrlHeld();
    }
    return false;
}

bool onPoseKey(unsigned char key) {
    for (const PoseKey& k : kPoseKeys) {
        if (k.key != key || !fits(k.needs)) continue;
        k.command();
        return true;
    }
    return false;
}

}  // namespace
