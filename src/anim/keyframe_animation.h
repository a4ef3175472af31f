// keyframe_animation.h - the animator every moving thing owns.
//
// A KeyFrameAnimation glides one float triple through a queue of up to 200
// keyframes. Each keyframe says how the triple moves INTO it from the one
// before: on the closed cardinal (Catmull-Rom) spline (files and coded
// choreographies), on a monotone cubic that never overshoots (keyframes
// recorded in the window), at an even pace, or holding still and then
// jumping at the keyframe's time. Time is counted in steps: the owner calls
// advance(playRate) once per frame. On the spline the very first pass
// through keyframe 0 runs in a straight line from `origin`, the value the
// thing had when its keyframes were queued.
//
// Conventions: a plain fixed-size value type, no heap memory, no GL. Records
// beyond numKeyFrames keep whatever was last stored in them (the file writer
// reads them). Refused requests change nothing and report nothing.
#pragma once

#include <climits>

#include "base/field_list.h"

// Keyframe mode tags: stored, never consulted.
enum KeyFrameMode { REL = 0, ABS = 1 };

// Interpolation kinds of the animator as a whole; the cardinal spline.
enum { INTERP_CARDINAL = 1 };

// How a keyframe is reached from the one before it.
enum KeyFrameKind {
    KIND_SPLINE = 0,  // the closed cardinal spline, as always
    KIND_SMOOTH,      // monotone cubic: flat at holds and turning points
    KIND_LINEAR,      // an even pace
    KIND_HOLD,        // keep the keyframe before, jump at this one's time
    KIND_COUNT
};
// "spline", "smooth", "linear", "hold"; and back (-1 for an unknown word).
const char* keyFrameKindName(int kind);
int keyFrameKindFromName(const char* name);

constexpr int KEYFRAME_CAPACITY = 200;

// A keyframe's fields, each stated once. To add one: add a line here; the
// scene file writes the named ones, in this order, on its "key" lines. The
// mode 2 marks a record that was never pushed; steps is the segment length
// on the time line; the times are cumulative (computeTimes) and derived;
// kind says how the keyframe is reached (KeyFrameKind).
#define KEYFRAME_FIELDS(FLAG, WHOLE, NUMBER, COUNT, TRIPLE)                  \
    NUMBER(x, "x", 0, -kFieldMagnitude, kFieldMagnitude)                     \
    NUMBER(y, "y", 0, -kFieldMagnitude, kFieldMagnitude)                     \
    NUMBER(z, "z", 0, -kFieldMagnitude, kFieldMagnitude)                     \
    WHOLE(mode, "mode", 2, INT_MIN, INT_MAX)                                 \
    COUNT(steps, "steps", 0, 2, 1000000)                                     \
    NUMBER(endTime, nullptr, 0, 0, 0)                                        \
    NUMBER(startTime, nullptr, 0, 0, 0)                                      \
    WHOLE(kind, "kind", KIND_SPLINE, 0, KIND_COUNT - 1)

struct KeyFrame {
    KEYFRAME_FIELDS(PUPPET_DECLARE_FLAG, PUPPET_DECLARE_WHOLE, PUPPET_DECLARE_NUMBER, PUPPET_DECLARE_NUMBER,
                    PUPPET_DECLARE_TRIPLE)
};

namespace keyframe_field_list {
using ListRecord = KeyFrame;
inline constexpr Field<KeyFrame> table[] = {
    KEYFRAME_FIELDS(PUPPET_ENTRY_FLAG, PUPPET_ENTRY_WHOLE, PUPPET_ENTRY_NUMBER, PUPPET_ENTRY_COUNT,
                    PUPPET_ENTRY_TRIPLE)};
}  // namespace keyframe_field_list
inline constexpr const auto& kKeyFrameFields = keyframe_field_list::table;

class KeyFrameAnimation {
public:
    float value[3] = {0, 0, 0};
    KeyFrame keyFrames[KEYFRAME_CAPACITY];
    KeyFrame origin;
    int currentIndex = 0;
    int numKeyFrames = 0;
    float currentTime = 0;
    float segmentTime = 0;
    bool cycle = false;
    bool startFromOrigin = true;
    bool originSet = false;
    int loopCount = 0;
    bool timesValid = true;
    int interpolation = INTERP_CARDINAL;
    float tangentScale = 0.5f;

    KeyFrameAnimation();

    void pushKeyFrame(float x, float y, float z, int mode, int steps, int kind = KIND_SPLINE);
    void setCycle(bool on) { cycle = on; }
    void setValue(float x, float y, float z);
    void setOrigin();
    void clear();
    void resetState();
    void setTension(float tension);
    bool advance(float dt);
    bool seek(float t);
    void jumpToKeyFrame(int i);
    void computeTimes();
    void ensureTimes();

private:
    void evaluateSpline(int c, float f);
    void evaluateKind(int c, float f);
};
