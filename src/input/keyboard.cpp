// keyboard.cpp - the key map.
//
// Sections:
//   1. constants and helpers
//   2. built-in scenes (keys 0, 5, 6, 8)
//   3. onKeyboard: one line per key
//   4. onKeyboardUp, onSpecialKey, onSpecialKeyUp
//
// Conventions: the play rate and the scale are stepped in double precision
// and stored as float, so repeated steps round the same way every time.
// Nothing here draws; state changes show in the next frame.
#include "input/keyboard.h"

#include <GL/freeglut.h>  // key codes only

#include "app/app_state.h"
#include "audio/music_control.h"
#include "choreo/coded_animations.h"
#include "io/file_chooser.h"
#include "io/scene_commands.h"
#include "scene/switches.h"

//==============================================================================
// 1. Constants and helpers
//==============================================================================

namespace {

constexpr unsigned char KEY_TAB = '\t';
constexpr unsigned char KEY_CTRL_O = 15;  // what GLUT passes for Ctrl+O
constexpr unsigned char KEY_CTRL_S = 19;
constexpr int PART_TURN_STEP = 4;                   // degrees, keys q w a s z x
constexpr float HEIGHT_STEP = 0.3f;                 // keys c v
constexpr double SCALE_STEP = 0.02;                 // keys b n
constexpr double SMALLEST_SHRINKABLE_SCALE = 0.08;  // n shrinks only above it
constexpr double PLAY_RATE_STEP = 0.2;              // keys = -
constexpr float RECORDED_KEYFRAME_STEPS = 20;       // F7
constexpr int CAMERA_TOUR_STEPS = 200;              // keys 2 4

Person& selected() { return app.persons[app.selectedPerson]; }

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

//==============================================================================
// 2. Built-in scenes
//==============================================================================
// Count and selection are set first, so the files always go to persons 0
// and 1 whatever was selected before.

void supermanScene() {
    app.selectedPerson = 0;
    app.numPersons = 1;
    app.persons[0].setRightHandItem(ITEM_NONE);
    app.persons[0].loadAnimation(SUPERMAN_FILE);
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
    boy.loadAnimation(BOY_FILE);
    girl.loadAnimation(GIRL_FILE);
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
    first.loadAnimation(SWORDFIGHT1_FILE);
    second.loadAnimation(SWORDFIGHT2_FILE);
}

void lawnmowerScene() {
    for (int i = 0; i < app.numPersons; i++) app.persons[i].loadAnimation(LAWNMOWER_FILE);
}

// Key 2 starts the orbit tour, or stops the camera where it is.
void toggleOrbitTour() {
    if (app.camera.animationOn) {
        app.camera.setAnimationOn(false);
        return;
    }
    app.camera.setAnimationOn(true);
    ani_cameraRotate(app.camera, CAMERA_TOUR_STEPS);
}

void lowOrbitTour() {
    app.selectedPerson = 0;
    app.numPersons = 3;
    app.camera.setAnimationOn(true);
    ani_cameraLowOrbit(app.camera, CAMERA_TOUR_STEPS);
}

}  // namespace

//==============================================================================
// 3. Key presses
//==============================================================================

void onKeyboard(unsigned char key, int, int) {
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
    case '3': app.camera.setAnimationOn(true); ani_cameraFlyBy(app.camera); break;
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
}

//==============================================================================
// 4. Key releases and special keys
//==============================================================================

void onKeyboardUp(unsigned char key, int, int) {
    if (key == KEY_TAB) app.tabHeld = false;
}

void onSpecialKey(int key, int, int) {
    Person& p = selected();
    switch (key) {
    case GLUT_KEY_F1: toggleHelp(); break;
    case GLUT_KEY_F2: toggleWireframe(); break;
    case GLUT_KEY_F3: toggleTextures(); break;
    case GLUT_KEY_F4: toggleAnimate(); break;
    case GLUT_KEY_F5: openAnimationDialog(); break;
    case GLUT_KEY_F6: saveAnimationDialog(); break;
    case GLUT_KEY_F7: p.pushPoseKeyFrame(RECORDED_KEYFRAME_STEPS); break;
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
