// mouse.h - the three GLUT mouse callbacks: left drags orbit the camera (or
// turn the selected part in SPIN_PART), middle drags pan, and presses turn
// the help pages while help is shown.
#pragma once

// GLUT's numbering of buttons and button states.
constexpr int MOUSE_LEFT = 0;
constexpr int MOUSE_MIDDLE = 1;
constexpr int MOUSE_PRESSED = 0;

void onMouse(int button, int state, int x, int y);
void onMotion(int x, int y);
void onPassiveMotion(int x, int y);
