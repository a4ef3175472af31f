// frame_clock.h - the idle callback: one call is one frame.
#pragma once

constexpr int FRAME_PERIOD_MS = 40;
constexpr int FRAME_LATE_MS = 80;
// While music follows a scene, a frame advances by the wall-clock time since
// the previous one (25 steps a second, times the play rate) so the dance
// keeps time with the music; a longer gap (a dialog, the help pages) counts
// as this much only.
constexpr int WALL_CLOCK_MAX_GAP_MS = 200;

// The animation time this frame adds, given the previous frame's stamp and
// this one's: the play rate on the frame clock, the wall-clock time on the
// wall clock.
float frameSteps(int previousMs, int nowMs);

// Waits for the frame period when the limiter is on, advances the scene
// clock, applies the held arrow keys, steps every visible person and asks
// for a redisplay. While help is shown it only asks for a redisplay.
void idle();

// The held arrow keys and Tab acting on the selected person, once a frame.
void applyHeldKeys();
