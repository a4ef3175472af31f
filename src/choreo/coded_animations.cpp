// coded_animations.cpp - the built-in choreographies as data.
//
// Sections (search "[SECTION]"):
//   Camera tours
//   Figure animations
//
// Conventions: camera keyframes are world positions pushed with tag 0; figure
// keyframes are joint angles in degrees pushed with ABS. Within one figure
// animation every keyframe has the same step count. The tables are read by a
// few lines of code at the end of each section.
#include "choreo/coded_animations.h"

#include <cstddef>
#include <cstdio>
#include <iterator>

#include "camera/camera.h"
#include "figure/person.h"
#include "base/console.h"

namespace {

struct Triple {
    float x, y, z;
};

// Console texts carry no line end: whatever is printed next continues the line.
void announce(const char* text) {
    if (text) consoleReportText(text);
}

// [SECTION] Camera tours

// A steps value of 0 in a tour table stands for the tour's `steps` argument.
constexpr int STEPS_ARG = 0;

struct TourKey {
    Triple eye;
    Triple target;
    int steps;
};

// Eight points around the origin at height 5: on the axes at distance 28,
// on the diagonals at (+-20, +-20). The target is left where it is.
constexpr Triple kRotateEye[] = {
    {0, 5, 28}, {-20, 5, 20}, {-28, 5, 0}, {-20, 5, -20},
    {0, 5, -28}, {20, 5, -20}, {28, 5, 0}, {20, 5, 20},
};

// From far out in front, sweeping low past the stage and away to the left.
constexpr TourKey kFlyBy[] = {
    {{50, 80, 1000}, {0, 50, 0}, 200},
    {{10, 50, 200}, {0, 0, 0}, 200},
    {{-50, 20, 100}, {0, 0, 0}, 200},
    {{-20, 5, 50}, {10, 10, 10}, 200},
    {{20, 5, -20}, {0, 0, 0}, 200},
    {{-50, 5, 10}, {0, 0, 0}, 200},
    {{-60, 3, 0}, {0, 0, 0}, 200},
    {{-70, 2, 10}, {0, 0, 0}, 200},
    {{-750, 20, 20}, {0, 0, 0}, 200},
};

// Low shots between persons 0, 1 (at 10, 0, -10) and 2 (at -10, 0, -10).
constexpr TourKey kLowOrbit[] = {
    {{0, 5, 20}, {0, 0, 0}, STEPS_ARG},
    {{-18, 0, 18}, {0, 0, 0}, STEPS_ARG},
    {{-20, -2, 20}, {5, 0, 0}, STEPS_ARG},
    {{-20, -2, 20}, {1, -6, 0}, STEPS_ARG},
    {{-20, -2, 20}, {1, -4, 0}, STEPS_ARG},
    {{-20, -2, 20}, {1, -4, 0}, STEPS_ARG},
    {{-5, -3, 5}, {0, 0, 0}, STEPS_ARG},
    {{8, -4, -8}, {10, 0, -10}, STEPS_ARG},
    {{9.5f, -3, -9.5f}, {10, 0, -10}, STEPS_ARG},
    {{8, -4, -8}, {0, 0, 0}, 10},
    {{8, -4, -8}, {0, 0, 0}, 20},
    {{-8, 5, -8}, {-8, 10, 5}, 30},
    {{-9, 5, -4}, {-10, 0, -10}, STEPS_ARG},
    {{-9, 5, -4}, {-10, 10, -10}, STEPS_ARG},
    {{-9, 5, -4}, {10, 5, -10}, STEPS_ARG},
};

// Every tour shares one text, whichever tour it is.
constexpr const char* kTourText = "CODED ANIMATION: ani_cameraRotate()";

// Empties both camera animators, seeds them with the present eye and target
// and sets them cycling.
void startTour(Camera& camera) {
    announce(kTourText);
    camera.eyeAnim.clear();
    camera.targetAnim.clear();
    camera.eyeAnim.setValue(camera.eye[0], camera.eye[1], camera.eye[2]);
    camera.eyeAnim.setOrigin();
    camera.targetAnim.setValue(camera.target[0], camera.target[1], camera.target[2]);
    camera.targetAnim.setOrigin();
    camera.eyeAnim.setCycle(true);
    camera.targetAnim.setCycle(true);
}

void pushTour(Camera& camera, const TourKey* keys, std::size_t count, int steps) {
    for (std::size_t i = 0; i < count; i++) {
        const TourKey& k = keys[i];
        const int n = k.steps == STEPS_ARG ? steps : k.steps;
        camera.eyeAnim.pushKeyFrame(k.eye.x, k.eye.y, k.eye.z, CAMERA_TOUR_MODE, n);
        camera.targetAnim.pushKeyFrame(k.target.x, k.target.y, k.target.z, CAMERA_TOUR_MODE, n);
    }
}

// [SECTION] Figure animations

// A figure animation: parts firstPart..lastPart each get numKeyFrames
// keyframes. `cells` is part-major: the row of part p starts at
// (p - firstPart) * numKeyFrames.
struct FigureAnimation {
    const char* consoleText;  // nullptr: the animation prints nothing
    int numKeyFrames;
    int steps;
    bool cycle;
    int firstPart;
    int lastPart;
    const Triple* cells;
    std::size_t cellCount;
};

// Keyframes 1 and 5 are the standing pose: the kick ends where it began.
constexpr Triple kKickLeft[] = {
    /* ROOT   */ {0, 0, 0}, {2, 9, 4}, {2, 9, 4}, {2, 9, 4}, {0, 0, 0},
    /* TORSO  */ {0, 0, 0}, {0, 0, 7}, {0, 0, 7}, {0, 0, 7}, {0, 0, 0},
    /* STOMK  */ {0, 0, 0}, {0, 0, 0}, {-10, 0, 3}, {-22, 0, 8}, {0, 0, 0},
    /* PELVIS */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    /* NECK   */ {0, 0, 0}, {7, 0, 0}, {7, 0, 0}, {7, 0, 0}, {0, 0, 0},
    /* HEAD   */ {0, 0, 0}, {0, 0, 0}, {0, 15, 0}, {17, 6, -3}, {0, 0, 0},
    /* RUA    */ {170, 0, 0}, {170, 0, 17}, {170, 0, 7}, {158, 0, 28}, {170, 0, 0},
    /* LUA    */ {170, 0, 0}, {159, 0, -17}, {178, 0, -11}, {194, 0, -8}, {170, 0, 0},
    /* RLA    */ {0, 0, 0}, {-5, 0, -14}, {-16, 0, -37}, {-20, 0, -22}, {0, 0, 0},
    /* LLA    */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {-18, 0, 22}, {0, 0, 0},
    /* RH     */ {10, 0, 0}, {10, 0, 0}, {10, 0, 0}, {32, 0, -21}, {10, 0, 0},
    /* LH     */ {10, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 0, 0},
    /* RUL    */ {180, 0, 0}, {180, 0, 5}, {180, 0, 5}, {180, 0, 5}, {180, 0, 0},
    /* LUL    */ {180, 0, 0}, {181, -5, 3}, {152, -5, -18}, {110, -5, -25}, {180, 0, 0},
    /* RLL    */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    /* LLL    */ {0, 0, 0}, {15, 0, 5}, {27, 0, 8}, {8, 0, 8}, {0, 0, 0},
    /* RF     */ {-90, 0, 0}, {-90, 0, 0}, {-90, 0, 0}, {-90, 0, 0}, {-90, 0, 0},
    /* LF     */ {-90, 0, 0}, {-90, 0, 0}, {-90, 0, 0}, {-42, 0, -19}, {-90, 0, 0},
    /* LHI    */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    /* RHI    */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
};

// Keyframe 4 is the standing pose; keyframe 1 nods the head and cocks the left hand.
constexpr Triple kKickRight[] = {
    /* ROOT   */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    /* TORSO  */ {0, 0, 0}, {-1, 0, 0}, {-1, -10, 0}, {0, 0, 0},
    /* STOMK  */ {0, 0, 0}, {1, 0, -4}, {-10, 0, -10}, {0, 0, 0},
    /* PELVIS */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    /* NECK   */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    /* HEAD   */ {10, 0, 3}, {0, 0, 0}, {15, 0, -8}, {0, 0, 0},
    /* RUA    */ {170, 0, 0}, {185, 0, 5}, {185, 0, 16}, {170, 0, 0},
    /* LUA    */ {170, 0, 0}, {158, 0, -10}, {154, 0, -17}, {170, 0, 0},
    /* RLA    */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    /* LLA    */ {0, 0, 0}, {-4, 0, 15}, {-21, 0, 57}, {0, 0, 0},
    /* RH     */ {10, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 0, 0},
    /* LH     */ {-20, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 0, 0},
    /* RUL    */ {180, 0, 0}, {130, 0, -2}, {102.895f, 0, 7.137f}, {180, 0, 0},
    /* LUL    */ {180, 0, 0}, {186, 0, -2}, {185.589f, 0, -1.863f}, {180, 0, 0},
    /* RLL    */ {0, 0, 0}, {70, 0, 5}, {5, 0, 7}, {0, 0, 0},
    /* LLL    */ {0, 0, 0}, {2, -5, 8}, {1.863f, -4.6575f, 7.452f}, {0, 0, 0},
    /* RF     */ {-90, 0, 0}, {-90, 0, 0}, {-24.6815f, 0, -10.0705f}, {-90, 0, 0},
    /* LF     */ {-90, 0, 0}, {-90, 0, 0}, {-90, 0, 0}, {-90, 0, 0},
    /* LHI    */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    /* RHI    */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
};

constexpr Triple kSkip[] = {
    /* ROOT   */ {-7, 0, -20}, {-12, -15, 0},
    /* TORSO  */ {-1, 0, -7}, {1, 0, 10},
    /* STOMK  */ {6, 0, -11}, {-5, 0, 25},
    /* PELVIS */ {-10, 0, -4}, {3, 0, 7},
    /* NECK   */ {6, 0, 7}, {13, 0, -10},
    /* HEAD   */ {-8, 0, 3}, {10, 0, -10},
    /* RUA    */ {171, 0, 16}, {195, 0, -12},
    /* LUA    */ {199, 0, 16}, {190, 0, -26},
    /* RLA    */ {-7, 0, 0}, {-16, 0, -4},
    /* LLA    */ {-14, 0, 1}, {-19, 0, 9},
    /* RH     */ {9, 0, -8}, {-12, 0, 9},
    /* LH     */ {-17, 0, -25}, {-9, 0, 20},
    /* RUL    */ {140, 0, -8}, {172, 0, 3},
    /* LUL    */ {162, 0, -13}, {185, 0, 0},
    /* RLL    */ {4, 0, 7}, {15, 0, -8},
    /* LLL    */ {25, 0, 8}, {20, 0, -8},
    /* RF     */ {-60, 0, 18}, {-81, 0, -16},
    /* LF     */ {-71, 0, 12}, {-77, 0, -20},
    /* LHI    */ {24, 0, 0}, {-9, 0, 0},
    /* RHI    */ {89, 0, -17}, {72, 0, 9},
};

// TORSO to LF only: ROOT and the hand items keep their angles. Keyframe 2 is
// keyframe 1 with left and right exchanged (RUL keeps z = -1).
constexpr Triple kTwoStepCycle[] = {
    /* TORSO  */ {-1, 0, -1}, {-1, 0, -1},
    /* STOMK  */ {-2, 0, 0}, {-2, 0, 0},
    /* PELVIS */ {2, 0, 0}, {2, 0, 0},
    /* NECK   */ {1, 0, 0}, {1, 0, 0},
    /* HEAD   */ {0, 0, 0}, {0, 0, 0},
    /* RUA    */ {143, 0, 9}, {199, 0, -5},
    /* LUA    */ {199, 0, -5}, {143, 0, 9},
    /* RLA    */ {-28, 0, 0}, {0, 0, 0},
    /* LLA    */ {0, 0, 0}, {-28, 0, 0},
    /* RH     */ {19, 0, 0}, {33, 0, 0},
    /* LH     */ {33, 0, 0}, {19, 0, 0},
    /* RUL    */ {197, 0, -1}, {151, 0, -1},
    /* LUL    */ {151, 0, 0}, {197, 0, -1},
    /* RLL    */ {0, 0, 0}, {20, 0, 0},
    /* LLL    */ {20, 0, 0}, {0, 0, 0},
    /* RF     */ {-109, 0, 0}, {-82, 0, 0},
    /* LF     */ {-82, 0, 0}, {-109, 0, 0},
};

// TORSO to LF; keyframes 3 and 4 are keyframes 1 and 2 with sides exchanged.
constexpr Triple kFourStepCycle[] = {
    /* TORSO  */ {1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0},
    /* STOMK  */ {8, 0, 0}, {15, 0, 0}, {8, 0, 0}, {15, 0, 0},
    /* PELVIS */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    /* NECK   */ {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    /* HEAD   */ {3, 0, 0}, {3, 0, 0}, {3, 0, 0}, {3, 0, 0},
    /* RUA    */ {199, 0, 0}, {199, 0, 0}, {145, 0, 0}, {177, 0, -9},
    /* LUA    */ {145, 0, 0}, {177, 0, -9}, {199, 0, 0}, {199, 0, 0},
    /* RLA    */ {-1, 0, -5}, {-28, 0, 5}, {-34, 0, 9}, {-34, 0, 9},
    /* LLA    */ {-34, 0, 9}, {-34, 0, 9}, {-1, 0, -5}, {-28, 0, 5},
    /* RH     */ {10, 0, 0}, {10, 0, 0}, {-6, 0, 4}, {-6, 0, 4},
    /* LH     */ {-6, 0, 4}, {-6, 0, 4}, {10, 0, 0}, {10, 0, 0},
    /* RUL    */ {212, 0, 0}, {164, 0, -2}, {135, 0, -1}, {161, 0, -4},
    /* LUL    */ {135, 0, -1}, {161, 0, -4}, {212, 0, 0}, {164, 0, -2},
    /* RLL    */ {0, 0, 0}, {100, 0, 8}, {44, 0, 0}, {29, 0, 5},
    /* LLL    */ {44, 0, 0}, {29, 0, 5}, {0, 0, 0}, {100, 0, 8},
    /* RF     */ {-110, 0, -1}, {-73, 0, -2}, {-87, 0, 0}, {-85, 0, 0},
    /* LF     */ {-87, 0, 0}, {-85, 0, 0}, {-110, 0, -1}, {-73, 0, -2},
};

template <std::size_t N>
constexpr FigureAnimation figure(const char* text, int keyFrames, int steps, bool cycle,
                                 int firstPart, int lastPart, const Triple (&cells)[N]) {
    return {text, keyFrames, steps, cycle, firstPart, lastPart, cells, N};
}

constexpr FigureAnimation kKickLeftAnim =
    figure("CODED ANIMATION: ani_personKickLeft()", 5, 10, false, ROOT, RHI, kKickLeft);
constexpr FigureAnimation kKickRightAnim =
    figure("CODED ANIMATION: ani_personKickRight()", 4, 15, false, ROOT, RHI, kKickRight);
constexpr FigureAnimation kSkipAnim =
    figure("CODED ANIMATION: ani_personSkip()", 2, 30, true, ROOT, RHI, kSkip);
constexpr FigureAnimation kTwoStepAnim = figure(nullptr, 2, 30, true, TORSO, LF, kTwoStepCycle);
constexpr FigureAnimation kFourStepAnim = figure(nullptr, 4, 10, true, TORSO, LF, kFourStepCycle);

// Every table holds exactly one cell per listed part and keyframe.
constexpr bool complete(const FigureAnimation& a) {
    return a.cellCount == static_cast<std::size_t>((a.lastPart - a.firstPart + 1) * a.numKeyFrames);
}
static_assert(complete(kKickLeftAnim) && complete(kKickRightAnim) && complete(kSkipAnim) &&
                  complete(kTwoStepAnim) && complete(kFourStepAnim),
              "a figure animation table is missing cells");

// Replaces the person's queue with the animation, starting from the present pose.
void play(Person& person, const FigureAnimation& a) {
    announce(a.consoleText);
    person.clearAllKeyFrames();
    person.setCycle(a.cycle);
    for (int k = 0; k < a.numKeyFrames; k++) {
        for (int p = a.firstPart; p <= a.lastPart; p++) {
            const Triple& c = a.cells[(p - a.firstPart) * a.numKeyFrames + k];
            person.part[p].kfa.pushKeyFrame(c.x, c.y, c.z, ABS, a.steps);
        }
    }
}

}  // namespace

void ani_cameraRotate(Camera& camera, int steps) {
    startTour(camera);
    for (const Triple& e : kRotateEye)
        camera.eyeAnim.pushKeyFrame(e.x, e.y, e.z, CAMERA_TOUR_MODE, steps);
}

void ani_cameraFlyBy(Camera& camera) {
    startTour(camera);
    pushTour(camera, kFlyBy, std::size(kFlyBy), STEPS_ARG);
}

void ani_cameraLowOrbit(Camera& camera, int steps) {
    startTour(camera);
    pushTour(camera, kLowOrbit, std::size(kLowOrbit), steps);
}

void ani_personKickLeft(Person& person) { play(person, kKickLeftAnim); }
void ani_personKickRight(Person& person) { play(person, kKickRightAnim); }
void ani_personSkip(Person& person) { play(person, kSkipAnim); }
void ani_personTwoStepCycle(Person& person) { play(person, kTwoStepAnim); }
void ani_personFourStepCycle(Person& person) { play(person, kFourStepAnim); }
