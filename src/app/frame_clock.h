// frame_clock.h - the idle callback: one call is one frame.
#pragma once

constexpr int FRAME_PERIOD_MS = 40;
constexpr int FRAME_LATE_MS = 80;

// Waits for the frame period when the limiter is on, advances the scene
// clock, applies the held arrow keys, steps every visible person and asks
// for a redisplay. While help is shown it only asks for a redisplay.
void idle();

// The held arrow keys and Tab acting on the selected person, once a frame.
void applyHeldKeys();
