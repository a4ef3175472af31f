// switches.h - the render switches and small view settings.
//
// Each switch flips or steps one setting of `app` and then brings the GL
// state in line with it. The GL calls are plain state setters: without a
// current context (unit tests) the GL dispatch ignores them, so the settings
// can be tested on their own and the GL side in the GL tier.
#pragma once

// Polygon mode line (on) or fill (off), front and back.
void toggleWireframe();
// GL lighting on or off.
void toggleLighting();
// Light n (0 to 3) on or off; other values are ignored.
void toggleLight(int n);
// 2D texturing on or off.
void toggleTextures();
// Shows or hides the help screen; the clear colour turns black for help,
// white for the scene. Asking for the present state changes nothing.
void setHelpVisible(bool show);
void toggleHelp();
// Steps the help page, kept within the pages there are.
void changeHelpPage(int delta);
// Steps the camera mode forward with wrap-around; stepping back from the
// first mode stays there.
void changeCameraMode(int delta);
// Flips animateOn and hands it to every person, shown or not.
void toggleAnimate();
// Brings the GL state in line with every render switch at once (a scene
// that was opened sets them all).
void applyRenderSwitches();
