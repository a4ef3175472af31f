// Undo and redo: every change restored bit for bit (keyframes, stored
// records past the live count, animators' times, cycle flags, body and
// clothing, the figure count), runs of one key folded into one step, and the
// history's bound and memory.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "edit/edit_commands.h"
#include "core/history.h"
#include "edit/keyframe_edit.h"
#include "input/keyboard.h"

namespace {

template <typename T>
void append(std::vector<unsigned char>& out, const T& v) {
    const auto* b = reinterpret_cast<const unsigned char*>(&v);
    out.insert(out.end(), b, b + sizeof v);
}

// An animator's state and all its record slots as they read.
void append(std::vector<unsigned char>& out, const KeyFrameAnimation& a) {
    append(out, static_cast<const KeyFrameAnimationState&>(a));
    for (int i = 0; i < KEYFRAME_CAPACITY; i++) append(out, a.keyFrames[i]);
}

// Every stored bit of a figure that a change can reach.
std::vector<unsigned char> figureBits(const Person& p) {
    std::vector<unsigned char> out;
    for (const BodyPart& b : p.part) {
        append(out, b.length); append(out, b.radius); append(out, b.rotation);
        append(out, b.jointOffset); append(out, b.minRotation); append(out, b.maxRotation);
        append(out, b.limitsOn); append(out, b.texture); append(out, b.transform); append(out, b.kfa);
    }
    append(out, p.position); append(out, p.kfaPos); append(out, p.selectedPart); append(out, p.skin);
    append(out, p.isMale); append(out, p.scale); append(out, p.colour); append(out, p.animating);
    append(out, p.showTrail); append(out, p.leftHandItem); append(out, p.rightHandItem);
    append(out, p.torsoBox);
    return out;
}

struct Scene {
    std::vector<std::vector<unsigned char>> figures;
    int numPersons, selectedPerson;
    bool operator==(const Scene& o) const {
        return figures == o.figures && numPersons == o.numPersons && selectedPerson == o.selectedPerson;
    }
};

Scene sceneBits(int figures = 3) {
    Scene s{{}, app.numPersons, app.selectedPerson};
    for (int i = 0; i < figures; i++) s.figures.push_back(figureBits(app.persons[i]));
    return s;
}

std::string diff(const Scene& a, const Scene& b) {
    std::string out;
    if (a.numPersons != b.numPersons) out += " count";
    if (a.selectedPerson != b.selectedPerson) out += " selection";
    for (std::size_t i = 0; i < a.figures.size(); i++)
        for (std::size_t j = 0; j < a.figures[i].size(); j++)
            if (a.figures[i][j] != b.figures[i][j]) {
                out += " figure " + std::to_string(i) + " byte " + std::to_string(j);
                break;
            }
    return out;
}

void key(unsigned char k) { onKeyboard(k, 0, 0); }
void play(int frames) {
    for (int f = 0; f < frames; f++) app.persons[0].stepAnimationBy(app.playRate);
}

class Undo : public testing::Test {
protected:
    void SetUp() override { resetAppState(); }
    void TearDown() override { resetAppState(); }
};

}  // namespace

// A sequence of different changes, each one undo step, undone one by one to
// the exact state before it and redone to the exact state after it. Figure 1
// plays between the steps that change it, so animators' times differ at each
// (an undo puts back only the figures its step changed).
TEST_F(Undo, EveryKindOfChangeRoundTripsBitForBit) {
    const std::string superman = std::string(PUPPETORIUM_SOURCE_DIR) + "/animations/superman.txt";
    std::vector<Scene> states{sceneBits()};
    auto step = [&](auto change, bool plays = true) {
        change();
        for (int f = 0; plays && f < 7; f++) app.persons[0].stepAnimationBy(app.playRate);
        states.push_back(sceneBits());
    };
    // Selection and going to a keyframe are not changes: no step of their own.
    auto unrecorded = [&](auto change) {
        change();
        states.back() = sceneBits();
    };
    unrecorded([] { key('y'); });
    step([] { key('w'); key('w'); });  // a run of one pose key
    step([] { recordKeyFrameCommand(); });
    step([] { key('x'); });
    step([] { recordKeyFrameCommand(); });
    unrecorded([] { goToKeyFrameCommand(KF_FIRST); });
    step([] { replaceKeyFrameCommand(); });
    step([] { insertKeyFrameCommand(); });
    step([] { changeKeyFrameLengthCommand(+5); });
    step([] { deleteKeyFrameCommand(); });
    step([] { key('m'); });
    step([] { key('b'); });
    step([] { key('['); });
    step([] { key('o'); key('o'); }, false);
    step([&] { noteFigureChange("load", 0); app.persons[0].loadAnimation(superman.c_str()); });
    step([] { key('6'); });  // a scene: count, selection, skin, items, loads
    step([] { noteFigureChange("load", 0); app.persons[0].loadAnimation("/nonexistent/x.txt"); });
    step([] { key('p'); }, false);

    History& h = editHistory();
    const std::size_t n = states.size() - 1;
    ASSERT_EQ(h.undoDepth(), n);
    for (std::size_t k = 1; k <= n; k++) {
        ASSERT_TRUE(h.undo());
        EXPECT_TRUE(sceneBits() == states[n - k]) << "after " << k << " undos" << diff(sceneBits(), states[n - k]);
    }
    EXPECT_FALSE(h.undo());
    for (std::size_t k = 1; k <= n; k++) {
        ASSERT_TRUE(h.redo());
        EXPECT_TRUE(sceneBits() == states[k]) << "after " << k << " redos";
    }
    EXPECT_FALSE(h.redo());
}

// The records past the live count are part of a figure (the file writer
// reads them), so undo and redo bring them back exactly: after a delete at
// the capacity, an insert that fills the queue again, and a clear followed
// by fewer keyframes than before. An insert into the full queue is no step.
TEST_F(Undo, AFullQueueAndTheRecordsPastTheCountRoundTrip) {
    Person& p = app.persons[0];
    for (int k = 0; k < KEYFRAME_CAPACITY; k++) {
        p.part[HEAD].rotation[1] = static_cast<float>(k % 40 - 20);
        p.pushPoseKeyFrame(static_cast<float>(2 + k % 5), k % KIND_COUNT);
    }
    std::vector<Scene> states{sceneBits()};
    goToKeyFrameIndexCommand(150);
    states.back() = sceneBits();
    deleteKeyFrameCommand();
    states.push_back(sceneBits());
    ASSERT_EQ(p.part[HEAD].kfa.numKeyFrames, KEYFRAME_CAPACITY - 1);
    insertKeyFrameCommand();
    states.push_back(sceneBits());
    ASSERT_EQ(p.part[HEAD].kfa.numKeyFrames, KEYFRAME_CAPACITY);

    History& h = editHistory();
    const std::size_t depth = h.undoDepth();
    insertKeyFrameCommand();
    EXPECT_EQ(h.undoDepth(), depth);
    EXPECT_TRUE(sceneBits() == states.back()) << "a refused insert changes nothing";

    noteFigureChange("clear", 0);
    p.clearAllKeyFrames();
    states.push_back(sceneBits());
    for (int k = 0; k < 2; k++) {
        recordKeyFrameCommand();
        states.push_back(sceneBits());
    }
    ASSERT_EQ(p.part[HEAD].kfa.numKeyFrames, 2);
    ASSERT_EQ(p.part[HEAD].kfa.keyFrames[KEYFRAME_CAPACITY - 1].steps, 2 + (KEYFRAME_CAPACITY - 1) % 5)
        << "the old records stay past the count";

    const std::size_t n = states.size() - 1;
    ASSERT_EQ(h.undoDepth(), n);
    for (std::size_t k = 1; k <= n; k++) {
        ASSERT_TRUE(h.undo());
        EXPECT_TRUE(sceneBits() == states[n - k]) << "after " << k << " undos" << diff(sceneBits(), states[n - k]);
    }
    for (std::size_t k = 1; k <= n; k++) {
        ASSERT_TRUE(h.redo());
        EXPECT_TRUE(sceneBits() == states[k]) << "after " << k << " redos" << diff(sceneBits(), states[k]);
    }
}

TEST_F(Undo, ALoadIsOneStepEvenWhenItFails) {
    app.persons[0].pushPoseKeyFrame(20);
    app.persons[0].pushPoseKeyFrame(30);
    play(5);
    const Scene before = sceneBits();
    noteFigureChange("load x.txt", 0);
    EXPECT_FALSE(app.persons[0].loadAnimation("/nonexistent/x.txt"));
    EXPECT_EQ(keyFrameCount(app.persons[0]), 0);
    undoCommand();
    EXPECT_EQ(sceneBits(), before);
    EXPECT_EQ(editHistory().undoDepth(), 0u);
}

TEST_F(Undo, ARunOfOneKeyOrOneDragIsOneStep) {
    History& h = editHistory();
    const Scene start = sceneBits();
    for (int i = 0; i < 10; i++) key('w');
    EXPECT_EQ(h.undoDepth(), 1u);
    key('y');  // another part: a new run
    key('w');
    key('w');
    key('q');
    EXPECT_EQ(h.undoDepth(), 3u);

    beginDragGesture();
    for (int i = 0; i < 5; i++) notePartDrag();
    endDragGesture();
    beginDragGesture();
    notePartDrag();
    endDragGesture();
    EXPECT_EQ(h.undoDepth(), 5u) << "two drags, two steps";

    while (h.undo()) {}
    EXPECT_EQ(sceneBits(), start);
    key('w');
    EXPECT_EQ(h.redoDepth(), 0u) << "a new change forgets what could be redone";
}

// Holds the bound, and measures what 200 steps take when each touches all
// 45 figures (the lawnmower key with 45 shown), with short and with full
// queues.
TEST_F(Undo, HistoryKeepsTwoHundredStepsInBoundedMemory) {
    History h;
    app.numPersons = MAX_PERSONS;
    for (int i = 0; i < MAX_PERSONS; i++)
        for (int k = 0; k < 8; k++) app.persons[i].pushPoseKeyFrame(20);
    for (int s = 0; s < 250; s++) {
        for (int i = 0; i < MAX_PERSONS; i++) {
            app.persons[i].part[HEAD].rotation[0] = static_cast<float>(s);
            app.persons[i].updateTransform(HEAD);
        }
        h.record("pose", 0, MAX_PERSONS);
    }
    EXPECT_EQ(h.undoDepth(), HISTORY_STEPS);
    const std::size_t shortQueues = h.bytes();

    // The worst case: full queues that change at every step.
    h.clear();
    for (int i = 0; i < MAX_PERSONS; i++) {
        Person& p = app.persons[i];
        while (p.kfaPos.numKeyFrames < KEYFRAME_CAPACITY) p.pushPoseKeyFrame(20);
    }
    for (int s = 0; s < 200; s++) {
        h.record("replace keyframe 1", 0, MAX_PERSONS);
        for (int i = 0; i < MAX_PERSONS; i++) app.persons[i].part[HEAD].kfa.keyFrames[0].x = static_cast<float>(s);
    }
    const std::size_t fullQueues = h.bytes();
    std::printf("[ history ] 200 steps x 45 figures: %.1f MB with 8 keyframes each, %.1f MB with 200 changing\n",
                static_cast<double>(shortQueues) / 1e6, static_cast<double>(fullQueues) / 1e6);
    EXPECT_LT(shortQueues, 40u * 1000 * 1000);
    // Only HEAD's list changes per step; the other 20 lists are shared.
    EXPECT_LT(fullQueues, 200u * 1000 * 1000);
    // Still restores exactly after all that sharing.
    const std::vector<unsigned char> now = figureBits(app.persons[7]);
    ASSERT_TRUE(h.undo());
    EXPECT_FLOAT_EQ(app.persons[7].part[HEAD].kfa.keyFrames[0].x, 198);
    h.redo();
    EXPECT_EQ(figureBits(app.persons[7]), now);
}
