// skeleton.cpp - the part tree table and the links read from it.
#include "figure/skeleton.h"

namespace skeleton {

const int kOrder[BODY_PART_COUNT] = {
    ROOT, PELVIS, STOMK, TORSO, NECK, HEAD,
    RUA, RLA, RH, RHI,
    LUA, LLA, LH, LHI,
    RUL, RLL, RF,
    LUL, LLL, LF,
};

const int kParent[BODY_PART_COUNT] = {
    -1,      // ROOT
    STOMK,   // TORSO
    PELVIS,  // STOMK
    ROOT,    // PELVIS
    TORSO,   // NECK
    NECK,    // HEAD
    TORSO,   // RUA
    TORSO,   // LUA
    RUA,     // RLA
    LUA,     // LLA
    RLA,     // RH
    LLA,     // LH
    PELVIS,  // RUL
    PELVIS,  // LUL
    RUL,     // RLL
    LUL,     // LLL
    RLL,     // RF
    LLL,     // LF
    LH,      // LHI
    RH,      // RHI
};

namespace {

int placeInOrder(int part) {
    for (int k = 0; k < BODY_PART_COUNT; k++)
        if (kOrder[k] == part) return k;
    return -1;
}

}  // namespace

int firstChild(int part) {
    const int k = placeInOrder(part);
    // In depth-first order a first child comes right after its parent.
    return k >= 0 && k + 1 < BODY_PART_COUNT && kParent[kOrder[k + 1]] == part ? kOrder[k + 1] : -1;
}

int nextSibling(int part) {
    const int k = placeInOrder(part);
    if (k <= 0) return -1;
    for (int j = k + 1; j < BODY_PART_COUNT; j++) {
        if (kParent[kOrder[j]] == kParent[part]) return kOrder[j];
        if (depth(kOrder[j]) < depth(part)) return -1;  // left the parent's subtree
    }
    return -1;
}

int depth(int part) {
    int d = 0;
    for (int i = kParent[part]; i >= 0; i = kParent[i]) d++;
    return d;
}

}  // namespace skeleton
