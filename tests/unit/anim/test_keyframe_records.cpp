// The animator's records: they read as the 200 slots of a fixed queue while
// only the written ones are stored; inserts and removals shift exactly as
// the fixed queue did; a copy owns its records; and playing a figure, the
// frame's work, allocates nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <random>

#include "anim/keyframe_animation.h"
#include "figure/person.h"

// ---- counting allocations on this thread, for the frame test below
namespace {
thread_local bool countingAllocations = false;
thread_local long allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (countingAllocations) allocations++;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

bool sameRecord(const KeyFrame& a, const KeyFrame& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

KeyFrame record(float x, int steps, int kind = KIND_SPLINE) {
    KeyFrame k;
    k.x = x; k.y = -x; k.z = x / 2;
    k.mode = ABS;
    k.steps = static_cast<float>(steps);
    k.kind = kind;
    return k;
}

// The queue as it was: 200 records inline, shifted in place, never erased.
struct FixedQueue {
    KeyFrame slot[KEYFRAME_CAPACITY];
    int count = 0;

    void push(const KeyFrame& k) {
        if (count < KEYFRAME_CAPACITY) slot[count++] = k;
    }
    void insert(int at, const KeyFrame& k) {
        if (at < 0 || at > count || count >= KEYFRAME_CAPACITY) return;
        std::copy_backward(slot + at, slot + count, slot + count + 1);
        slot[at] = k;
        count++;
    }
    void remove(int at) {
        if (at < 0 || at >= count) return;
        std::copy(slot + at + 1, slot + count, slot + at);
        count--;
    }
};

// Every slot of the animator reads as the fixed queue's.
::testing::AssertionResult sameSlots(const KeyFrameAnimation& a, const FixedQueue& q) {
    if (a.numKeyFrames != q.count)
        return ::testing::AssertionFailure() << "count " << a.numKeyFrames << " against " << q.count;
    for (int i = 0; i < KEYFRAME_CAPACITY; i++) {
        const KeyFrame& k = a.keyFrames[i];
        // The times are the animator's own working; the rest is the record.
        if (k.x != q.slot[i].x || k.y != q.slot[i].y || k.z != q.slot[i].z || k.mode != q.slot[i].mode ||
            k.steps != q.slot[i].steps || k.kind != q.slot[i].kind)
            return ::testing::AssertionFailure() << "slot " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(KeyFrameRecords, SlotsReadAsTwoHundredWhileOnlyTheWrittenOnesAreStored) {
    const KeyFrameAnimation fresh;
    EXPECT_EQ(fresh.keyFrames.stored(), 0);
    for (int i : {-1, 0, 57, KEYFRAME_CAPACITY - 1, KEYFRAME_CAPACITY})
        EXPECT_TRUE(sameRecord(fresh.keyFrames[i], kUnwrittenKeyFrame)) << i;
    EXPECT_EQ(kUnwrittenKeyFrame.mode, 2);

    KeyFrameAnimation a;
    const KeyFrameRecords& read = a.keyFrames;  // a writable slot is a stored one
    for (int k = 0; k < 5; k++) a.pushKeyFrame(float(k), 0, 0, ABS, 10);
    EXPECT_EQ(a.keyFrames.stored(), 5);
    EXPECT_TRUE(sameRecord(read[5], kUnwrittenKeyFrame));

    // Clearing erases nothing; recording again overwrites in place.
    a.clear();
    a.pushKeyFrame(9, 0, 0, ABS, 10);
    EXPECT_EQ(a.keyFrames.stored(), 5);
    EXPECT_EQ(read[0].x, 9);
    EXPECT_EQ(read[4].x, 4) << "the old record stays readable past the count";

    // A slot off the queue is written nowhere.
    a.keyFrames[KEYFRAME_CAPACITY].x = 77;
    a.keyFrames[-3].x = 77;
    EXPECT_EQ(a.keyFrames.stored(), 5);
    EXPECT_TRUE(sameRecord(read[KEYFRAME_CAPACITY], kUnwrittenKeyFrame));

    // Pushes past the capacity neither store nor count.
    for (int k = 0; k < KEYFRAME_CAPACITY + 40; k++) a.pushKeyFrame(1, 2, 3, ABS, 2);
    EXPECT_EQ(a.numKeyFrames, KEYFRAME_CAPACITY);
    EXPECT_EQ(a.keyFrames.stored(), KEYFRAME_CAPACITY);
    EXPECT_FALSE(a.insertRecord(0, record(5, 10)));
    EXPECT_EQ(a.numKeyFrames, KEYFRAME_CAPACITY);
}

// Thousands of random pushes, inserts, removals and clears, side by side
// with the fixed queue the animator used to be: every slot, live or not,
// reads the same after every one, up to and at the capacity.
TEST(KeyFrameRecords, InsertsRemovalsAndClearsShiftEverySlotAsTheFixedQueueDid) {
    std::mt19937 random(30);
    KeyFrameAnimation a;
    FixedQueue q;
    for (int op = 0; op < 6000; op++) {
        const int what = static_cast<int>(random() % 100);
        const KeyFrame k = record(static_cast<float>(op), 2 + op % 9, op % KIND_COUNT);
        // Position picked past both ends too: such requests change nothing.
        const int at = static_cast<int>(random() % (q.count + 3)) - 1;
        if (what < 45) {
            a.pushKeyFrame(k.x, k.y, k.z, ABS, static_cast<int>(k.steps), k.kind);
            q.push(k);
        } else if (what < 75) {
            const bool room = at >= 0 && at <= q.count && q.count < KEYFRAME_CAPACITY;
            EXPECT_EQ(a.insertRecord(at, k), room);
            q.insert(at, k);
        } else if (what < 98) {
            a.removeRecord(at);
            q.remove(at);
        } else {
            a.clear();
            q.count = 0;
        }
        ASSERT_TRUE(sameSlots(a, q)) << "after operation " << op;
        ASSERT_LE(a.keyFrames.stored(), KEYFRAME_CAPACITY);
    }
}

TEST(KeyFrameRecords, ACopyOwnsItsRecordsAndAFreshOneReplacesThemWhole) {
    KeyFrameAnimation a;
    for (int k = 0; k < 4; k++) a.pushKeyFrame(float(k), 0, 0, ABS, 10);
    KeyFrameAnimation b = a;
    b.keyFrames[1].x = 50;
    b.removeRecord(0);
    b.insertRecord(0, record(60, 5));
    EXPECT_EQ(a.keyFrames[0].x, 0);
    EXPECT_EQ(a.keyFrames[1].x, 1);
    EXPECT_EQ(a.numKeyFrames, 4);

    a = b;
    b.keyFrames[0].x = 70;
    EXPECT_EQ(a.keyFrames[0].x, 60);

    // Assigning a fresh animator forgets every record, stored or not.
    static const KeyFrameAnimation fresh;
    a = fresh;
    EXPECT_EQ(a.numKeyFrames, 0);
    for (int i = 0; i < 4; i++) EXPECT_TRUE(sameRecord(a.keyFrames[i], kUnwrittenKeyFrame)) << i;
}

// What a frame does to a figure (advance every animator, forwards and
// backwards, cycling and not, queues of unequal length) and what the
// timeline does (pose at a keyframe, at a time): none of it may allocate.
TEST(KeyFrameRecords, PlayingAndPosingAFigureAllocateNothing) {
    Person p;
    p.setCycle(true);
    for (int k = 0; k < 12; k++) {
        p.part[RUA].rotation[0] = static_cast<float>(20 * k % 170);
        p.pushPoseKeyFrame(static_cast<float>(5 + k), k % KIND_COUNT);
    }
    // Unequal queues: the head has more, the position fewer.
    for (int k = 0; k < 5; k++) p.part[HEAD].kfa.pushKeyFrame(float(k), 0, 0, ABS, 7);
    p.kfaPos.clear();
    p.kfaPos.pushKeyFrame(1, 0, 0, ABS, 30);

    auto storedSlots = [&p] {
        long n = p.kfaPos.keyFrames.stored();
        for (const BodyPart& b : p.part) n = n * 7 + b.kfa.keyFrames.stored();
        return n;
    };
    const long storedBefore = storedSlots();
    allocations = 0;
    countingAllocations = true;
    for (float rate : {1.0f, 2.5f, -1.0f, 0.3f}) {
        for (int frame = 0; frame < 200; frame++) p.stepAnimationBy(rate);
    }
    for (int j = -1; j < 14; j++) p.poseAtKeyFrame(j);
    for (float t = -5; t < 300; t += 7.5f) p.poseAtTime(t);
    countingAllocations = false;
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(storedSlots(), storedBefore) << "playing stores no slot, not even within the capacity";

    // The counter counts: a push onto a fresh animator stores a record.
    KeyFrameAnimation a;
    countingAllocations = true;
    a.pushKeyFrame(1, 2, 3, ABS, 10);
    countingAllocations = false;
    EXPECT_GT(allocations, 0);
}
