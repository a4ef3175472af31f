// display.h - the GLUT display callback: the help screen, or the stage with
// its figures, markers, keyboard chart and head-up text.
#pragma once

// Time after start during which the scene shows how to open the help.
constexpr int HELP_HINT_SHOWN_MS = 10000;

#include "figure/person.h"

// What the figures are drawn with, from the scene's switches and quadric.
FigureDrawSettings figureDrawSettings();

// Draws one complete frame from the current state and swaps buffers.
void display();

// The frame without the swap: what display() draws into the back buffer
// (tests read it back).
void renderFrame();

// The scene as a film shows it: stage and figures through the camera, none
// of the editing aids (target marker, selection cone, chart, HUD), whether
// or not help is shown; no frame-rate measurement, no swap.
void renderFilmFrame();

// The head-up text in the viewer's frame (text 2 units in front of the eye):
// view mode, spin mode, animation switch, frame rate, play rate.
void drawHud();
