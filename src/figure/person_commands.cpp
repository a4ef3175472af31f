// person_commands.cpp - the small person operations behind keys and menus:
// part selection, gender and scale changes, held items, recording a pose.
#include <cstdio>

#include "figure/person.h"

void Person::selectPart(int idx) {
    if (idx < 0 || idx >= BODY_PART_COUNT) {
        std::printf("ERRORbodyPart %d does not exist\n", idx);
        std::fflush(stdout);
        return;
    }
    selectedPart = idx;
}

// Truncating remainder: back from part 0 stays at 0, on from 19 wraps to 0.
void Person::stepSelectedPart(int delta) {
    int next = (selectedPart + delta) % BODY_PART_COUNT;
    if (next < 0) next = 0;
    selectPart(next);
}

void Person::setMale(bool flag) {
    if (flag != isMale) setGender(flag, scale);
}

void Person::setScale(float value) {
    if (value != scale) setGender(isMale, value);
}

void Person::setLeftHandItem(int n) { leftHandItem = (n >= 0 && n < HAND_ITEM_COUNT) ? n : 0; }
void Person::setRightHandItem(int n) { rightHandItem = (n >= 0 && n < HAND_ITEM_COUNT) ? n : 0; }
void Person::cycleLeftHandItem(int delta) { setLeftHandItem((leftHandItem + delta) % HAND_ITEM_COUNT); }
void Person::cycleRightHandItem(int delta) { setRightHandItem((rightHandItem + delta) % HAND_ITEM_COUNT); }

// Keyframe j of every animator that holds one is reached the given way
// (exported code calls this after a block's pushes).
void Person::setKeyFrameKind(int j, int kind) {
    if (kind < 0 || kind >= KIND_COUNT) return;
    if (j >= 0 && j < kfaPos.numKeyFrames) kfaPos.keyFrames[j].kind = kind;
    for (BodyPart& b : part)
        if (j >= 0 && j < b.kfa.numKeyFrames) b.kfa.keyFrames[j].kind = kind;
}

// Records the present pose as one ABS keyframe on all 21 animators. Poses
// recorded in the window are smooth: two equal ones then hold still.
void Person::pushPoseKeyFrame(float steps, int kind) {
    const int n = static_cast<int>(steps);
    kfaPos.pushKeyFrame(position[0], position[1], position[2], ABS, n, kind);
    for (int i = 0; i < BODY_PART_COUNT; i++)
        part[i].kfa.pushKeyFrame(part[i].rotation[0], part[i].rotation[1], part[i].rotation[2], ABS, n, kind);
}
