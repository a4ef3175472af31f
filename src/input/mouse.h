// mouse.h - the three GLUT mouse callbacks: left drags orbit the camera (or
// turn the selected part in SPIN_PART), middle drags pan, and presses turn
// the help pages while help is shown. A left click that does not drag
// selects the part under the pointer; the wheel zooms the camera.
#pragma once

// GLUT's numbering of buttons and button states.
constexpr int MOUSE_LEFT = 0;
constexpr int MOUSE_MIDDLE = 1;
constexpr int MOUSE_PRESSED = 0;
constexpr int MOUSE_WHEEL_UP = 3;
constexpr int MOUSE_WHEEL_DOWN = 4;

void onMouse(int button, int state, int x, int y);
void onMotion(int x, int y);
void onPassiveMotion(int x, int y);
// The wheel: direction +1 (away from the user) zooms in, -1 out.
void onMouseWheel(int wheel, int direction, int x, int y);
