// pose_edit.h - poses as values: copy, paste and mirror a figure's pose,
// put a part back to standing, and the exact values the Ctrl+E dialog edits.
//
// GL-free. A pose is the 20 parts' angles, not the position. Mirroring
// swaps each right part with its left twin, keeps every x angle and negates
// every y and z angle (the middle parts too); negation never makes -0, so a
// mirrored pose is written without "-0" and mirroring twice gives the pose
// back bit for bit.
#pragma once

#include <string>

#include "figure/person.h"

PoseCopy copyPose(const Person& p);
PoseCopy mirroredPose(const PoseCopy& pose);
// Sets every part's angles (animators untouched) and refreshes the matrices.
void pastePose(Person& p, const PoseCopy& pose);
// The part on the other side (RUA <-> LUA, ...); a middle part is its own.
int mirrorPartOf(int part);

// The part's angles back to those of the standing pose.
void resetPartToStanding(Person& p, int part);

// What the exact-values dialog shows and edits: the selected part's three
// angles with their limits, and where the figure stands and faces.
struct ExactValues {
    int part = 0;
    float angle[3] = {0, 0, 0};
    float minAngle[3] = {-360, -360, -360};
    float maxAngle[3] = {360, 360, 360};
    float x = 0, z = 0;   // the figure's position on the floor
    float heading = 0;    // the root's turn about y, degrees
};

// The floor is generous but finite: typed positions are kept within it.
constexpr float EXACT_POSITION_LIMIT = 1000.0f;

ExactValues exactValuesOf(const Person& p, int part);
// Applies `typed`, each value clamped (angles to the part's limits, the
// heading to a turn either way, the position to the limit above). For the
// root, whose y angle is the heading, a changed heading field wins.
void applyExactValues(Person& p, const ExactValues& shown, const ExactValues& typed);

// The figure's heading shown to the user: the root's turn about y, rounded
// to a whole degree in 0..359.
int headingDegrees(const Person& p);

// The head-up line's value: "0.27, -6.63  heading 123" (x and z to two
// decimals, never "-0.00").
std::string positionText(const Person& p);
