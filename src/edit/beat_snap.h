// beat_snap.h - keyframes that land on the music's beats.
//
// Animation time t (steps, 25 a second) plays the music at offset + t / 25
// seconds, so a beat at b seconds falls on step (b - offset) x 25, rounded
// to the nearer whole step: keyframe times are whole steps. With snapping
// on (Ctrl+B), a recorded or inserted keyframe ends on the next beat, a
// lengthen or shorten moves its end to the next or previous beat, and a
// dragged time settles on the nearest beat. Without beats (no music, its
// analysis still running, or none ahead) each command does what it does
// without snapping.
//
// The first half is pure (beats in, steps out) and tested so; the second
// reads the application: the switch, the scene's offset and its beats.
#pragma once

#include <vector>

class Person;

// ---- pure
// The step a beat at `seconds` falls on.
int beatStep(double seconds, double offset);
// The first beat step at least `minSteps` after `from`; -1 when none.
int nextBeatStep(const std::vector<double>& beats, double offset, float from, int minSteps);
// The last beat step at least `minSteps` before `from` and not before `floor`; -1 when none.
int previousBeatStep(const std::vector<double>& beats, double offset, float from, int minSteps, float floor);
// The beat step nearest to `t` (0 or later); -1 without beats.
int nearestBeatStep(const std::vector<double>& beats, double offset, float t);

// ---- the application's snapping
// Ctrl+B: flips the switch and says so.
void toggleBeatSnapping();
// True when snapping is on and the scene's beats are known.
bool snappingToBeats();
// Length of a keyframe that starts at `start`: to the next beat when
// snapping, else `unsnapped`.
int keyFrameStepsFrom(float start, int unsnapped);
// Length change of keyframe j of `p` to the next (direction > 0) or
// previous beat; 0 when there is none.
int beatLengthChange(const Person& p, int j, int direction);
// A dragged time: on the nearest beat when snapping, else as it is.
float snapTimeToBeat(float t);
