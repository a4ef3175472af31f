// keyframe_animation.h - the animator every moving thing owns.
//
// A KeyFrameAnimation glides one float triple through a queue of up to 200
// keyframes on a closed cardinal (Catmull-Rom) spline. Time is counted in
// steps: the owner calls advance(playRate) once per frame. The very first pass
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

// Interpolation kinds; the cardinal spline is the only one in use.
enum { INTERP_CARDINAL = 1 };

constexpr int KEYFRAME_CAPACITY = 200;

// A keyframe's fields, each stated once. To add one: add a line here; the
// scene file writes the named ones, in this order, on its "key" lines. The
// mode 2 marks a record that was never pushed; steps is the segment length
// on the time line; the times are cumulative (computeTimes) and derived.
#define KEYFRAME_FIELDS(FLAG, WHOLE, NUMBER, COUNT, TRIPLE)                  \
    NUMBER(x, "x", 0, -kFieldMagnitude, kFieldMagnitude)                     \
    NUMBER(y, "y", 0, -kFieldMagnitude, kFieldMagnitude)                     \
    NUMBER(z, "z", 0, -kFieldMagnitude, kFieldMagnitude)                     \
    WHOLE(mode, "mode", 2, INT_MIN, INT_MAX)                                 \
    COUNT(steps, "steps", 0, 2, 1000000)                                     \
    NUMBER(endTime, nullptr, 0, 0, 0)                                        \
    NUMBER(startTime, nullptr, 0, 0, 0)

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

    void pushKeyFrame(float x, float y, float z, int mode, int steps);
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
};
