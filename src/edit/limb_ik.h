// limb_ik.h - posing by dragging: two-joint limbs solved in closed form, and
// the body moved with both feet planted.
//
// GL-free. Each limb is a chain upper -> lower -> end (shoulder, elbow, hand;
// hip, knee, foot). A solve puts the end's joint (wrist or ankle) on a world
// target: the lower joint bends about its own x axis only (the elbow towards
// the front, the knee towards the back, as they naturally bend), the upper
// joint turns about x and z and keeps its twist, and every angle stays
// inside the joint limits. A target out of reach leaves the limb reaching
// straight towards it (or folded as far as it goes, when too near). The end
// part is then turned so its world orientation stays what it was, as far as
// its own limits allow.
//
// Frames are worked out from the rotations and joint offsets directly, in
// double precision; the parts' matrices are refreshed after every change.
#pragma once

class Person;

enum Limb { LIMB_RIGHT_ARM, LIMB_LEFT_ARM, LIMB_RIGHT_LEG, LIMB_LEFT_LEG, LIMB_COUNT };

struct LimbChain {
    int upper, lower, end;
    float bendSign;  // sign of the lower joint's x angle when it bends: -1 elbow, +1 knee
};
extern const LimbChain kLimbChains[LIMB_COUNT];

// The limb a drag on this part moves (hand, held item or lower arm, foot or
// lower leg), or -1.
int limbOfPart(int part);
// True for the parts a drag moves the whole body by: pelvis, stomach, chest.
bool movesBody(int part);

// A rigid world frame: rotation (column-major 3x3) and translation.
struct WorldFrame {
    double rot[9];
    double pos[3];
};

// The world frame of a part: its joint's position and its axes.
WorldFrame partWorldFrame(const Person& p, int part);

// Puts the limb's end joint on `target` (world) and gives the end part the
// world rotation `endRotation`, both as far as the limits allow. Returns the
// distance left between the end joint and the target.
double solveLimb(Person& p, int limb, const double target[3], const double endRotation[9]);

// Where the feet stand when a body drag begins.
struct PlantedFeet {
    double ankle[2][3];   // right, left: the foot joints
    double footRot[2][9]; // and the feet's world rotations
};
PlantedFeet plantFeet(const Person& p);

// A leg counts as reaching its planted foot within this distance.
constexpr double PLANTED_TOLERANCE = 1e-4;

// Moves the root towards `wanted` with both legs re-solved so the feet stay
// planted. Where a leg cannot reach, the body stops at the last place both
// reach (found by halving the way). Returns true when it got all the way.
bool moveBodyPlanted(Person& p, const float wanted[3], const PlantedFeet& feet);
