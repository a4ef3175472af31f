// Dragging a hand or a foot, and the body with its feet planted: targets in
// reach are met inside the joint limits, targets beyond reach are pointed
// at, elbows and knees bend their natural way, the hand keeps its world
// orientation, and the feet stay where they stand while the body moves.
// Positions are checked through the parts' own matrices, not the solver's.
#include <gtest/gtest.h>

#include <cmath>

#include "core/app_state.h"
#include "edit/limb_ik.h"
#include "figure/skeleton.h"

namespace {

// World position of part idx's joint and its world axes (column-major 4x4).
void worldOf(Person& p, int idx, double pos[3], double axes[9] = nullptr) {
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
    Mat4d model[BODY_PART_COUNT];
    skeleton::modelMatrices(p, model);
    const double* m = model[idx].m;
    for (int k = 0; k < 3; k++) pos[k] = m[12 + k];
    if (axes)
        for (int c = 0; c < 3; c++)
            for (int row = 0; row < 3; row++) axes[c * 3 + row] = m[c * 4 + row];
}

double dist(const double a[3], const double b[3]) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

void expectWithinLimits(const Person& p) {
    for (int i = 0; i < BODY_PART_COUNT; i++)
        for (int k = 0; k < 3; k++) {
            EXPECT_GE(p.part[i].rotation[k], p.part[i].minRotation[k]) << p.part[i].label << " axis " << k;
            EXPECT_LE(p.part[i].rotation[k], p.part[i].maxRotation[k]) << p.part[i].label << " axis " << k;
        }
}

void setAngles(Person& p, int part, float x, float y, float z) {
    p.part[part].rotation[0] = x;
    p.part[part].rotation[1] = y;
    p.part[part].rotation[2] = z;
}

class LimbIk : public testing::Test {
protected:
    Person& p = app.persons[0];
    void SetUp() override {
        resetAppState();
        p.setPosition(1.5f, 0, -2);
        p.part[ROOT].rotation[1] = 30;  // facing off the axes catches frame mix-ups
        p.part[STOMK].rotation[0] = 10;
    }
    void TearDown() override { resetAppState(); }
};

TEST_F(LimbIk, ReachableTargetsAreMetInsideTheLimitsAndNothingElseTurns) {
    struct Case { int limb; float upper[3]; float lower; bool female; };
    const Case cases[] = {
        {LIMB_RIGHT_ARM, {120, 0, 20}, -60, false}, {LIMB_RIGHT_ARM, {200, 0, 60}, -100, false},
        {LIMB_LEFT_ARM, {90, 0, -40}, -30, true},   {LIMB_LEFT_ARM, {230, 0, 0}, -140, false},
        {LIMB_RIGHT_LEG, {150, 0, 10}, 70, false},  {LIMB_LEFT_LEG, {210, 0, -20}, 120, true},
    };
    for (const Case& c : cases) {
        SetUp();
        p.setGender(!c.female, 1.0f);
        const LimbChain& chain = kLimbChains[c.limb];
        setAngles(p, chain.upper, c.upper[0], c.upper[1], c.upper[2]);
        setAngles(p, chain.lower, c.lower, 0, 0);
        double target[3];
        worldOf(p, chain.end, target);
        p.setDefaultPose();
        p.part[ROOT].rotation[1] = 30;
        p.part[STOMK].rotation[0] = 10;
        double axes[9], before[3];
        worldOf(p, chain.end, before, axes);
        float others[BODY_PART_COUNT][3];
        for (int i = 0; i < BODY_PART_COUNT; i++)
            for (int k = 0; k < 3; k++) others[i][k] = p.part[i].rotation[k];

        const double left = solveLimb(p, c.limb, target, axes);
        double reached[3];
        worldOf(p, chain.end, reached);
        EXPECT_LT(dist(reached, target), 1e-3) << "limb " << c.limb;
        EXPECT_LT(left, 1e-3);
        expectWithinLimits(p);
        for (int i = 0; i < BODY_PART_COUNT; i++) {
            if (i == chain.upper || i == chain.lower || i == chain.end) continue;
            for (int k = 0; k < 3; k++) EXPECT_EQ(p.part[i].rotation[k], others[i][k]) << p.part[i].label;
        }
    }
}

TEST_F(LimbIk, AnUnreachableTargetLeavesTheLimbStraightAndPointingAtIt) {
    double shoulder[3], axes[9], hand[3];
    worldOf(p, RUA, shoulder);
    worldOf(p, RH, hand, axes);
    // Far out in front and up: beyond the arm's 5 units.
    const double target[3] = {shoulder[0] + 4, shoulder[1] + 6, shoulder[2] + 9};
    const double left = solveLimb(p, LIMB_RIGHT_ARM, target, axes);
    EXPECT_GT(left, 1.0);
    EXPECT_EQ(p.part[RLA].rotation[0], 0) << "a limb reaching its furthest is straight";
    double wrist[3];
    worldOf(p, RH, wrist);
    double a[3], b[3], na = 0, nb = 0, dot = 0;
    for (int k = 0; k < 3; k++) {
        a[k] = wrist[k] - shoulder[k];
        b[k] = target[k] - shoulder[k];
        na += a[k] * a[k];
        nb += b[k] * b[k];
        dot += a[k] * b[k];
    }
    EXPECT_GT(dot / std::sqrt(na * nb), std::cos(1.0 * M_PI / 180)) << "within a degree of the target's direction";
    expectWithinLimits(p);
}

TEST_F(LimbIk, ElbowsBendForwardAndTheHandKeepsItsWorldOrientation) {
    p.part[ROOT].rotation[1] = 0;
    double axes[9], wrist[3];
    worldOf(p, LH, wrist, axes);
    // A small lift forwards: the hand can keep its orientation within its limits.
    const double nudge[3] = {wrist[0], wrist[1] + 0.3, wrist[2] + 0.6};
    EXPECT_LT(solveLimb(p, LIMB_LEFT_ARM, nudge, axes), 1e-3);
    double after[9], at[3];
    worldOf(p, LH, at, after);
    for (int k = 0; k < 9; k++) EXPECT_NEAR(after[k], axes[k], 1e-3) << "hand axis entry " << k;
    // Raised in front of the chest: the elbow folds the way an elbow bends
    // (negative x), its point behind the hand, and the hand stays in its limits.
    const double raised[3] = {wrist[0], wrist[1] + 2.5, wrist[2] + 1.5};
    EXPECT_LT(solveLimb(p, LIMB_LEFT_ARM, raised, axes), 1e-3);
    EXPECT_LT(p.part[LLA].rotation[0], -10);
    double elbow[3];
    worldOf(p, LLA, elbow);
    worldOf(p, LH, at);
    EXPECT_LT(elbow[2], at[2]);
    expectWithinLimits(p);
}

TEST_F(LimbIk, TheFeetStayPlantedWhileTheBodyMovesAndTheKneesBendForward) {
    p.part[ROOT].rotation[1] = 0;
    const PlantedFeet feet = plantFeet(p);
    const float start[3] = {p.position[0], p.position[1], p.position[2]};
    // Down in small steps, as a drag does, then a little to the side. The
    // feet stay flat while the ankles' limits allow (a shallow bend).
    for (int step = 1; step <= 16; step++) {
        const float side = step > 12 ? 0.05f * (step - 12) : 0;
        const float wanted[3] = {start[0] + side, start[1] - 0.15f * (step > 12 ? 12 : step), start[2]};
        EXPECT_TRUE(moveBodyPlanted(p, wanted, feet)) << "step " << step;
        for (int f = 0; f < 2; f++) {
            double ankle[3], axes[9];
            worldOf(p, f == 0 ? RF : LF, ankle, axes);
            EXPECT_LT(dist(ankle, feet.ankle[f]), PLANTED_TOLERANCE) << "foot " << f << " step " << step;
            if (step <= 3) {
                for (int k = 0; k < 9; k++) EXPECT_NEAR(axes[k], feet.footRot[f][k], 1e-3) << "step " << step;
            }
        }
    }
    EXPECT_FLOAT_EQ(p.position[1], start[1] - 1.8f);
    EXPECT_FLOAT_EQ(p.position[0], start[0] + 0.2f);
    for (int leg : {RLL, LLL}) {
        EXPECT_GT(p.part[leg].rotation[0], 20) << "a crouch bends the knees";
        double knee[3], ankle[3];
        worldOf(p, leg, knee);
        worldOf(p, leg + 2, ankle);  // RLL -> RF, LLL -> LF
        EXPECT_GT(knee[2], ankle[2]) << "knees go forward, not backward";
    }
    expectWithinLimits(p);
}

TEST_F(LimbIk, TheBodyStopsWhereALegCannotReach) {
    const PlantedFeet feet = plantFeet(p);
    const float startY = p.position[1];
    // Standing legs are straight: the body cannot rise at all.
    const float up[3] = {p.position[0], startY + 2, p.position[2]};
    EXPECT_FALSE(moveBodyPlanted(p, up, feet));
    EXPECT_NEAR(p.position[1], startY, 1e-3);
    for (int f = 0; f < 2; f++) {
        double ankle[3];
        worldOf(p, f == 0 ? RF : LF, ankle);
        EXPECT_LT(dist(ankle, feet.ankle[f]), PLANTED_TOLERANCE);
    }
    // Far down, further than the knees fold: stops on the way, feet in place.
    const float down[3] = {p.position[0], startY - 20, p.position[2]};
    EXPECT_FALSE(moveBodyPlanted(p, down, feet));
    EXPECT_LT(p.position[1], startY - 1);
    EXPECT_GT(p.position[1], startY - 20);
    for (int f = 0; f < 2; f++) {
        double ankle[3];
        worldOf(p, f == 0 ? RF : LF, ankle);
        EXPECT_LT(dist(ankle, feet.ankle[f]), PLANTED_TOLERANCE);
    }
}

}  // namespace
