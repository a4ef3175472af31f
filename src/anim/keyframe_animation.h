// keyframe_animation.h - the animator every moving thing owns.
//
// A KeyFrameAnimation glides one float triple through a queue of up to 200
// keyframes. Each keyframe says how the triple moves INTO it from the one
// before: on the closed cardinal (Catmull-Rom) spline (files and coded
// choreographies), on a monotone cubic that never overshoots (keyframes
// recorded in the window), at an even pace, or holding still and then
// jumping at the keyframe's time. Time is counted in
// steps: the owner calls advance(playRate) once per frame. The very first pass
// through keyframe 0 runs in a straight line from `origin`, the value the
// thing had when its keyframes were queued.
//
// Conventions: a plain fixed-size value type, no heap memory, no GL. Records
// beyond numKeyFrames keep whatever was last stored in them (the file writer
// reads them). Refused requests change nothing and report nothing.
#pragma once

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

struct KeyFrame {
    float x = 0, y = 0, z = 0;
    int mode = 2;          // 2 marks a record that was never pushed
    float steps = 0;       // segment length on the time line
    float endTime = 0;     // cumulative, see computeTimes
    float startTime = 0;
    int kind = KIND_SPLINE;  // how this keyframe is reached
};

class KeyFrameAnimation {
public:
    float value[3] = {0, 0, 0};
    float auxValue[3] = {0, 0, 0};   // must directly follow value: the light reads value[0..3]
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
