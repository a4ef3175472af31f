// keyframe_edit.h - editing a figure's keyframes: where it stands in its
// queue, going to a keyframe, replacing, inserting, deleting and retiming one.
//
// GL-free. A figure's 21 animators may hold queues of unequal length (files
// can say so); the longest queue stands for the figure, and every edit at
// keyframe index j touches each animator that holds a keyframe j, exactly
// the animators that poseAtKeyFrame(j) moves. Every edit pauses the figure
// and poses it at the keyframe it lands on, so what is shown is what is kept.
// Indices here are 0-based; texts for the user count from 1.
#pragma once

class KeyFrameAnimation;
class Person;

constexpr int RECORDED_KEYFRAME_STEPS = 20;  // F7 and Insert
constexpr int KEYFRAME_LENGTH_STEP = 5;      // Ctrl+Page Up / Down
constexpr int SHORTEST_KEYFRAME_STEPS = 2;   // the animator refuses shorter ones

// ---- where the figure stands
// The longest of the figure's queues (position first, then parts in order).
const KeyFrameAnimation& referenceAnimator(const Person& p);
int keyFrameCount(const Person& p);
// Index of the keyframe whose segment holds the figure's time; -1 when empty.
int currentKeyFrame(const Person& p);
// Start time of keyframe j and the length of the whole queue, from the steps
// (valid whether or not the animator has recomputed its times). Keyframe j
// is reached at keyFrameStart(p, j + 1), where its tick stands.
float keyFrameStart(const Person& p, int j);
float animationLength(const Person& p);
// Index of the keyframe a time moves into: the one whose segment (start,
// end] holds t, so at a keyframe's own time it is that keyframe; -1 when
// the animator is empty.
int keyFrameAtTime(const KeyFrameAnimation& a, float t);
// A non-cycling figure that has played to its end and stands there.
bool finishedPlaying(const Person& p);

// ---- one animator of a figure: -1 the position, 0..19 a part
KeyFrameAnimation& figureAnimator(Person& p, int which);
// Where keyframe j of one animator is reached.
float keyFrameEnd(const KeyFrameAnimation& a, int j);

// ---- edits (each pauses the figure and poses it where it lands)
// Clamps j into the queue; does nothing but pause on an empty figure.
void goToKeyFrame(Person& p, int j);
// Current keyframe's targets become the current pose; lengths stay.
bool replaceKeyFrame(Person& p);
// The current pose as a new keyframe after the current one; on an empty
// figure, the same as recording it. False when a queue is full.
bool insertKeyFrame(Person& p, int steps = RECORDED_KEYFRAME_STEPS);
// Removes the current keyframe and goes to the one before it.
bool deleteKeyFrame(Person& p);
// Current keyframe's length by delta steps, never below the shortest.
bool changeKeyFrameLength(Person& p, int delta);
// Poses the paused figure at time t of its queue (clamped to the queue).
void scrubTo(Person& p, float t);

// ---- kinds (how each keyframe is reached)
// Kind of the current keyframe; -1 on an empty figure.
int currentKeyFrameKind(const Person& p);
// The current keyframe takes the next kind, on every animator holding it.
bool cycleKeyFrameKind(Person& p);
// Every keyframe of the figure takes the current keyframe's kind.
bool applyKindToAllKeyFrames(Person& p);

// ---- a key for one part (Shift+F7)
enum class PartKeyResult { Split, Appended, Replaced, TooClose, Full };
// Records the part's present angles at the figure's time: a segment of the
// part that holds the time is split there (later keyframes keep their
// times), past the part's last keyframe one is appended that ends there,
// and a keyframe reached at that very time takes the angles.
PartKeyResult recordPartKeyFrame(Person& p, int part);

// ---- retiming and removing single keyframes (the dope sheet)
// Moves keyframe j (of one animator, or of all with which == FIGURE_ROW) so
// it is reached at `end`: its segment grows or shrinks and the next one
// takes up the difference, so later keyframes stay; with `moveLater` the
// later ones move along instead. Never makes a segment shorter than allowed.
constexpr int FIGURE_ROW = -2;
bool moveKeyFrameTo(Person& p, int which, int j, float end, bool moveLater);
// Removes keyframe j; the next segment takes its length, so later
// keyframes keep their times.
bool removeKeyFrameKeepingTimes(Person& p, int which, int j);
