// keyboard.h - the key map: the four GLUT keyboard callbacks.
//
// The callbacks only change state and call operations of other subsystems;
// the next idle and display passes show the result. Commands act on
// app.persons[app.selectedPerson] unless they name other persons. Pointer
// coordinates are ignored.
#pragma once

// Paths of the built-in animation files the scene keys load.
constexpr const char* SUPERMAN_FILE = "animations/superman.txt";
constexpr const char* BOY_FILE = "animations/1_boy.txt";
constexpr const char* GIRL_FILE = "animations/1_girl.txt";
constexpr const char* SWORDFIGHT1_FILE = "animations/2_swordfight1.txt";
constexpr const char* SWORDFIGHT2_FILE = "animations/2_swordfight2.txt";
constexpr const char* LAWNMOWER_FILE = "animations/lawnmower.txt";

// True for the keys that open a file chooser or a dialog (Ctrl+S, Ctrl+O):
// a render without a window must not press them, as nobody could answer.
bool keyOpensDialog(unsigned char key);

// Key press (8-bit character; letters in lower case only).
void onKeyboard(unsigned char key, int x, int y);
// Key release: only Tab matters.
void onKeyboardUp(unsigned char key, int x, int y);
// Special key press (GLUT key code): F1 to F12 and the arrows.
void onSpecialKey(int key, int x, int y);
// Special key release: the arrows.
void onSpecialKeyUp(int key, int x, int y);
