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
// Conventions: a plain value type, no GL. Its records read as the 200 slots
// of a fixed queue, but only the ones ever written take memory (see
// KeyFrameRecords); records beyond numKeyFrames keep whatever was last
// stored in them (the file writer reads them). Refused requests change
// nothing and report nothing.
#pragma once

#include <climits>
#include <cstddef>
#include <vector>

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

// A record that was never written: what every slot held before.
inline constexpr KeyFrame kUnwrittenKeyFrame{};

// The records of one animator. They read as KEYFRAME_CAPACITY slots, but only
// the slots up to the last one ever written are stored: a slot past them
// reads as kUnwrittenKeyFrame. A scene of 45 figures thus holds the records
// its keyframes need, not 948 x 200 of them. Storage grows only when a slot
// past the stored ones is written (a push, an insert, a file's keyframe),
// never while playing, so a frame allocates nothing.
class KeyFrameRecords {
public:
    const KeyFrame& operator[](int i) const {
        return (i >= 0 && i < stored()) ? records_[static_cast<std::size_t>(i)] : kUnwrittenKeyFrame;
    }
    // Writable slot i: the slots up to it are stored first. An index outside
    // the capacity gets a scratch record, so nothing lands past the 200.
    KeyFrame& operator[](int i) {
        return (i >= 0 && i < stored()) ? records_[static_cast<std::size_t>(i)] : slotPastStored(i);
    }

    // Slots stored: the last one ever written, and all before it.
    int stored() const { return static_cast<int>(records_.size()); }
    const KeyFrame* data() const { return records_.data(); }
    // Exactly these n slots (at most the capacity); the rest read unwritten.
    void assign(const KeyFrame* from, int n);
    // Slots at .. count - 1 move one on and k takes slot `at` (count < capacity).
    void insertAt(int at, int count, const KeyFrame& k);
    // Slots at + 1 .. count - 1 move one back; slot count - 1 keeps its record.
    void removeAt(int at, int count);
    // Heap bytes held, for the memory figures.
    std::size_t heapBytes() const { return records_.capacity() * sizeof(KeyFrame); }

private:
    KeyFrame& slotPastStored(int i);

    std::vector<KeyFrame> records_;
};

// Everything an animator holds but its records: the value, the origin and
// the play state. Undo copies it whole, so a field added here is undone with
// no other edit; a field belongs here, not in KeyFrameAnimation itself (a
// test catches one put there).
struct KeyFrameAnimationState {
    float value[3] = {0, 0, 0};
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
};

class KeyFrameAnimation : public KeyFrameAnimationState {
public:
    KeyFrameRecords keyFrames;

    KeyFrameAnimation();

    void pushKeyFrame(float x, float y, float z, int mode, int steps, int kind = KIND_SPLINE);
    // Puts k into the queue at `at` (0 .. numKeyFrames), the later keyframes
    // one further on; false, changing nothing, on a full queue or an index
    // off the queue. The record is taken as it is (its steps unchecked).
    bool insertRecord(int at, const KeyFrame& k);
    // Takes keyframe `at` out, the later ones one back. Like clear, it
    // erases nothing: the slot past the new end keeps its old record.
    void removeRecord(int at);
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
