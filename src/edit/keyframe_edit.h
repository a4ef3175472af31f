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
// (valid whether or not the animator has recomputed its times).
float keyFrameStart(const Person& p, int j);
float animationLength(const Person& p);

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
