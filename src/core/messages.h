// messages.h - the short line shown near the bottom of the window after a
// command whose result would otherwise be seen only on the console.
//
// GL-free: commands post a text, the display pass asks for the one to show
// now. A message lasts kMessageDurationMs on the frame clock; a new one
// replaces the old at once. Console lines are unaffected.
#pragma once

#include <string>

constexpr int kMessageDurationMs = 3000;

// Shows `text` from now (platform::elapsedMs) for kMessageDurationMs.
void postMessage(const std::string& text);
// The message to draw at time nowMs, or nullptr when none is showing.
const std::string* currentMessage(int nowMs);
// Forgets any message (tests, and a fresh application state).
void clearMessage();
