// stage.h - the fixed set around the figures: the wooden floor, the moving
// light with its yellow marker, and the logo block that sinks through the
// scene during the first seconds of a run.
#pragma once

// Time after start during which the logo block is shown.
constexpr int LOGO_SHOWN_MS = 20000;

// Draws floor, light marker and logo block; advances the light by the play
// rate (once per display pass).
void drawStage();

// Sets light 1's position to the light path's present value, as a
// directional light (w = 0) in the current model-view frame.
void applyLightPosition();

// The light marker's solid sphere. GLUT's own refuses to draw before
// glutInit, which a render without a window never calls; such a render
// installs an equal sphere of its own. nullptr restores GLUT's.
using MarkerSphereFn = void (*)(double radius, int slices, int stacks);
void setMarkerSphere(MarkerSphereFn fn);
