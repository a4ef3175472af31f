// walk_recording.h - a walk laid out the way the common public conversions
// of the big university motion-capture database lay out their recordings.
//
// The layout, not anyone's data: root Hips with six channels (Xposition
// Yposition Zposition Zrotation Yrotation Xrotation), every other joint three
// (Zrotation Yrotation Xrotation); zero-length joints where the legs and the
// back leave the hips (LHipJoint, RHipJoint, LowerBack); the chains
// LHipJoint > LeftUpLeg > LeftLeg > LeftFoot > LeftToeBase,
// LowerBack > Spine > Spine1 > Neck > Neck1 > Head and
// LeftShoulder > LeftArm > LeftForeArm > LeftHand > LeftFingerBase >
// LeftHandIndex1 with LThumb under LeftHand (the same on the right); a
// T-pose rest with the legs a little apart, Y up, facing +z, left at +x;
// units of about 1/0.45 inch (the hips some 17 above the floor); 120 frames
// a second, written as 0.008333.
//
// The motion is made here: a walk of 1.1 s cycles (thighs, knees and ankles
// keeping the stance foot flat, pelvis turning and tilting, the spine
// turning against it, arms swinging against the legs with the elbows
// bending), straight ahead, then a quarter turn to the left, then straight
// again. The hips move so that the stance foot stays planted and the lowest
// foot point is on the floor (y = 0) at every frame.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "mocap/mocap_math.h"
#include "mocap_test_rig.h"

namespace mocap_test {

struct WalkJoint {
    const char* name;
    int parent;
    Vec3 offset;
    Vec3 end;  // End Site offset; none when zero
};

// Joint indices the motion and the tests name.
enum WalkJointIndex {
    W_HIPS, W_LHIPJOINT, W_LUPLEG, W_LLEG, W_LFOOT, W_LTOE,
    W_RHIPJOINT, W_RUPLEG, W_RLEG, W_RFOOT, W_RTOE,
    W_LOWERBACK, W_SPINE, W_SPINE1, W_NECK, W_NECK1, W_HEAD,
    W_LSHOULDER, W_LARM, W_LFOREARM, W_LHAND, W_LFINGERBASE, W_LINDEX, W_LTHUMB,
    W_RSHOULDER, W_RARM, W_RFOREARM, W_RHAND, W_RFINGERBASE, W_RINDEX, W_RTHUMB,
    W_JOINTS
};

// Depth first, so the table order is the file's order.
inline const WalkJoint* walkSkeleton() {
    static const WalkJoint kJoints[W_JOINTS] = {
        {"Hips", -1, {0, 0, 0}, {}},
        {"LHipJoint", W_HIPS, {0, 0, 0}, {}},
        {"LeftUpLeg", W_LHIPJOINT, {1.6, -1.8, 0.3}, {}},
        {"LeftLeg", W_LUPLEG, {0.55, -7.3, 0}, {}},
        {"LeftFoot", W_LLEG, {0.45, -7.2, -0.1}, {}},
        {"LeftToeBase", W_LFOOT, {0.05, -1.2, 2.5}, {0, 0, 0.9}},
        {"RHipJoint", W_HIPS, {0, 0, 0}, {}},
        {"RightUpLeg", W_RHIPJOINT, {-1.6, -1.8, 0.3}, {}},
        {"RightLeg", W_RUPLEG, {-0.55, -7.3, 0}, {}},
        {"RightFoot", W_RLEG, {-0.45, -7.2, -0.1}, {}},
        {"RightToeBase", W_RFOOT, {-0.05, -1.2, 2.5}, {0, 0, 0.9}},
        {"LowerBack", W_HIPS, {0, 0, 0}, {}},
        {"Spine", W_LOWERBACK, {0, 2.2, -0.1}, {}},
        {"Spine1", W_SPINE, {0, 2.2, 0}, {}},
        {"Neck", W_SPINE1, {0, 3.0, -0.2}, {}},
        {"Neck1", W_NECK, {0, 0.9, 0.1}, {}},
        {"Head", W_NECK1, {0, 1.0, 0.2}, {0, 2.0, 0.1}},
        {"LeftShoulder", W_SPINE1, {0.5, 2.8, -0.1}, {}},
        {"LeftArm", W_LSHOULDER, {2.9, 0.2, -0.2}, {}},
        {"LeftForeArm", W_LARM, {5.0, 0, 0}, {}},
        {"LeftHand", W_LFOREARM, {4.4, 0, 0}, {}},
        {"LeftFingerBase", W_LHAND, {0.7, 0, 0}, {}},
        {"LeftHandIndex1", W_LFINGERBASE, {0.6, 0, 0}, {0.5, 0, 0}},
        {"LThumb", W_LHAND, {0.3, 0, 0.35}, {0.4, 0, 0.45}},
        {"RightShoulder", W_SPINE1, {-0.5, 2.8, -0.1}, {}},
        {"RightArm", W_RSHOULDER, {-2.9, 0.2, -0.2}, {}},
        {"RightForeArm", W_RARM, {-5.0, 0, 0}, {}},
        {"RightHand", W_RFOREARM, {-4.4, 0, 0}, {}},
        {"RightFingerBase", W_RHAND, {-0.7, 0, 0}, {}},
        {"RightHandIndex1", W_RFINGERBASE, {-0.6, 0, 0}, {-0.5, 0, 0}},
        {"RThumb", W_RHAND, {-0.3, 0, 0.35}, {-0.4, 0, 0.45}},
    };
    return kJoints;
}

// The recording and where its joints are, frame by frame, in file units.
struct WalkRecording {
    std::string text;
    int frames = 0;
    double frameTime = 0;
    std::vector<Vec3> at;   // frames x W_JOINTS
    std::vector<Vec3> end;  // frames x W_JOINTS: the End Sites (the joint itself where there is none)

    Vec3 point(int frame, int joint) const { return at[static_cast<std::size_t>(frame) * W_JOINTS + joint]; }
    Vec3 endSite(int frame, int joint) const { return end[static_cast<std::size_t>(frame) * W_JOINTS + joint]; }
};

namespace walk_detail {

constexpr double kCycle = 1.1;     // seconds for two steps
constexpr double kStance = 0.6;    // share of a cycle a foot is down

inline double ease(double x) { return 0.5 * (1 - std::cos(M_PI * std::clamp(x, 0.0, 1.0))); }

// Thigh forward of straight down, degrees, at gait phase p (0: heel down).
inline double hipFlex(double p) {
    return p < kStance ? 25 - 40 * ease(p / kStance) : -15 + 40 * ease((p - kStance) / (1 - kStance));
}
// Knee bend: a little as the foot takes the weight, deeply in the swing;
// raised-cosine bumps, so the bend is smooth at every phase (as a body's is).
inline double bump(double p, double centre, double width) {
    double x = std::fabs(p - centre);
    x = std::min(x, 1 - x);  // the cycle wraps
    return x < width / 2 ? 0.5 * (1 + std::cos(2 * M_PI * x / width)) : 0;
}
inline double kneeFlex(double p) { return 5 + 12 * bump(p, 0.15, 0.35) + 55 * bump(p, 0.73, 0.5); }
// Heading: straight, a quarter turn left between 2.5 s and 4.5 s, straight.
inline double heading(double t) { return 90 * ease((t - 2.5) / 2.0); }

// Every joint's turn against its parent at time t.
inline void localTurns(double t, Mat3* local) {
    for (int j = 0; j < W_JOINTS; j++) local[j] = Mat3();
    const double pL = std::fmod(t / kCycle, 1.0), pR = std::fmod(t / kCycle + 0.5, 1.0);
    const double w = 2 * M_PI * t / kCycle;
    const double yaw = 5 * std::sin(w), list = 3 * std::sin(2 * w);
    local[W_HIPS] = rot(1, heading(t) + yaw) * rot(2, list) * rot(0, 3);
    local[W_SPINE] = rot(1, -0.5 * yaw) * rot(0, -2);
    local[W_SPINE1] = rot(1, -0.8 * yaw) * rot(0, 3) * rot(2, -0.5 * list);
    local[W_NECK] = rot(0, -4);
    local[W_HEAD] = rot(0, 2 * std::sin(2 * w)) * rot(1, 0.3 * yaw);
    struct Leg { int up, knee, foot; double p; };
    for (const Leg& leg : {Leg{W_LUPLEG, W_LLEG, W_LFOOT, pL}, Leg{W_RUPLEG, W_RLEG, W_RFOOT, pR}}) {
        const double hip = hipFlex(leg.p), knee = kneeFlex(leg.p);
        const double toeUp = 10 * bump(leg.p, 0.85, 0.3);
        local[leg.up] = rot(0, -hip);
        local[leg.knee] = rot(0, knee);
        local[leg.foot] = rot(0, -(knee - hip + toeUp));  // flat while it stands
    }
    // Each arm swings with the other side's leg; the elbow bends more forward.
    const double swingL = 0.7 * hipFlex(pR) - 5, swingR = 0.7 * hipFlex(pL) - 5;
    local[W_LSHOULDER] = rot(2, -2 * std::sin(w));
    local[W_RSHOULDER] = rot(2, 2 * std::sin(w));
    local[W_LARM] = rot(0, -swingL) * rot(2, -78);
    local[W_RARM] = rot(0, -swingR) * rot(2, 78);
    local[W_LFOREARM] = rot(1, -(20 + 0.8 * std::max(0.0, swingL)));
    local[W_RFOREARM] = rot(1, 20 + 0.8 * std::max(0.0, swingR));
    local[W_LHAND] = rot(2, -8);
    local[W_RHAND] = rot(2, 8);
    local[W_LFINGERBASE] = rot(2, -10);
    local[W_RFINGERBASE] = rot(2, 10);
}

// Joints and End Sites with the hips at `root`.
inline void place(const Mat3* local, Vec3 root, Vec3* at, Vec3* end, Mat3* turn) {
    const WalkJoint* s = walkSkeleton();
    for (int j = 0; j < W_JOINTS; j++) {
        if (s[j].parent < 0) {
            at[j] = root;
            turn[j] = local[j];
        } else {
            at[j] = at[s[j].parent] + turn[s[j].parent] * s[j].offset;
            turn[j] = turn[s[j].parent] * local[j];
        }
        end[j] = at[j] + turn[j] * s[j].end;
    }
}

}  // namespace walk_detail

inline WalkRecording walkRecording(double seconds = 7.0) {
    using namespace walk_detail;
    const WalkJoint* skel = walkSkeleton();
    WalkRecording w;
    w.frameTime = 0.008333;
    w.frames = static_cast<int>(std::lround(seconds * 120)) + 1;

    std::string text = "HIERARCHY\n";
    char line[256];
    for (int j = 0; j < W_JOINTS; j++) {
        int depth = 0;
        for (int a = skel[j].parent; a >= 0; a = skel[a].parent) depth++;
        const std::string pad(depth, '\t');
        text += pad + (j == 0 ? "ROOT " : "JOINT ") + skel[j].name + "\n" + pad + "{\n";
        std::snprintf(line, sizeof line, "%s\tOFFSET %.5f %.5f %.5f\n", pad.c_str(), skel[j].offset.x,
                      skel[j].offset.y, skel[j].offset.z);
        text += line;
        text += pad + (j == 0 ? "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Yrotation Xrotation\n"
                              : "\tCHANNELS 3 Zrotation Yrotation Xrotation\n");
        if (length(skel[j].end) > 0) {
            std::snprintf(line, sizeof line, "%s\tEnd Site\n%s\t{\n%s\t\tOFFSET %.5f %.5f %.5f\n%s\t}\n", pad.c_str(),
                          pad.c_str(), pad.c_str(), skel[j].end.x, skel[j].end.y, skel[j].end.z, pad.c_str());
            text += line;
        }
        // Close this joint and every ancestor whose last child it ends.
        int closing = j;
        for (;;) {
            int d = 0;
            for (int a = skel[closing].parent; a >= 0; a = skel[a].parent) d++;
            const bool hasLaterChild = [&] {
                for (int c = j + 1; c < W_JOINTS; c++)
                    if (skel[c].parent == closing) return true;
                return false;
            }();
            if (hasLaterChild) break;
            text += std::string(d, '\t') + "}\n";
            if (skel[closing].parent < 0) break;
            closing = skel[closing].parent;
        }
    }
    std::snprintf(line, sizeof line, "MOTION\nFrames: %d\nFrame Time: %.6f\n", w.frames, w.frameTime);
    text += line;

    const int order[3] = {2, 1, 0};  // Zrotation Yrotation Xrotation
    Mat3 local[W_JOINTS], turn[W_JOINTS];
    Vec3 rel[W_JOINTS], relEnd[W_JOINTS], prevRel[W_JOINTS];
    Vec3 root;
    w.at.resize(static_cast<std::size_t>(w.frames) * W_JOINTS);
    w.end.resize(w.at.size());
    for (int f = 0; f < w.frames; f++) {
        const double t = f * w.frameTime;
        localTurns(t, local);
        place(local, Vec3{}, rel, relEnd, turn);
        // The stance foot stays where it stood: the hips move by what it moved.
        const bool leftDown = std::fmod(t / kCycle, 1.0) < 0.5;
        const int anchor = leftDown ? W_LFOOT : W_RFOOT;
        if (f > 0) {
            const Vec3 step = prevRel[anchor] - rel[anchor];
            root.x += step.x;
            root.z += step.z;
        }
        double lowest = 1e300;
        for (int toe : {W_LTOE, W_RTOE})
            lowest = std::min({lowest, rel[toe - 1].y, rel[toe].y, relEnd[toe].y});
        root.y = -lowest;
        std::copy(rel, rel + W_JOINTS, prevRel);
        for (int j = 0; j < W_JOINTS; j++) {
            w.at[static_cast<std::size_t>(f) * W_JOINTS + j] = root + rel[j];
            w.end[static_cast<std::size_t>(f) * W_JOINTS + j] = root + relEnd[j];
        }
        std::snprintf(line, sizeof line, "%.5f %.5f %.5f", root.x, root.y, root.z);
        text += line;
        for (int j = 0; j < W_JOINTS; j++) {
            double e[3];
            eulerFor(local[j], order, e);
            std::snprintf(line, sizeof line, " %.5f %.5f %.5f", e[0], e[1], e[2]);
            text += line;
        }
        text += "\n";
    }
    w.text = text;
    return w;
}

}  // namespace mocap_test
