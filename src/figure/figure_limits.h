// figure_limits.h - the figure's vocabulary and bounds: how many figures a
// scene holds, its 20 parts by index, the held items. Small on purpose, so
// undo and the scene file can bound their arrays without the whole program.
#pragma once

constexpr int MAX_PERSONS = 45;

enum BodyPartIndex {
    ROOT = 0, TORSO, STOMK, PELVIS, NECK, HEAD,
    RUA, LUA, RLA, LLA, RH, LH,
    RUL, LUL, RLL, LLL, RF, LF,
    LHI, RHI,
    BODY_PART_COUNT
};

// Labels by part index, as animation and scene files name the parts.
extern const char* const kBodyPartLabels[BODY_PART_COUNT];

// Held item values (0 is none).
enum HandItem { ITEM_NONE = 0, ITEM_BALL, ITEM_FLOWER, ITEM_DISC, ITEM_SWORD, ITEM_GUN, ITEM_TUBE_GUN };
constexpr int HAND_ITEM_COUNT = 7;
