// mocap_test_rig.h - recordings the tests make themselves.
//
// A known motion of the figure (every part swinging on its own sine) is
// written out as a BVH of another rig: other names, extra joints (zero-length
// ones, collarbones, fingers, toes), a T-pose rest, any channel order per
// joint, any unit, Y-up or Z-up, LF or CRLF. Each rig joint follows one of
// the figure's parts, so the recording holds exactly the known motion.
#pragma once

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "figure/person.h"
#include "mocap/retarget.h"

namespace mocap_test {

// A figure's motion, frame by frame.
struct KnownMotion {
    FigureShape shape;
    std::shared_ptr<PosedFigure> posed;  // the figure's own matrices for the frames
    int frames = 0;
    std::vector<float> position, angles;  // frames x 3, frames x 60

    const float* pose(int f) const { return angles.data() + 60 * f; }
};

// Swings every part about its standing pose; elbows and knees bend deeply
// so their hinges show.
inline KnownMotion swingingMotion(const Person& p, int frames, double seconds, double cycles = 1) {
    KnownMotion m;
    m.shape = shapeOf(p);
    m.posed = std::make_shared<PosedFigure>(m.shape);
    m.frames = frames;
    for (int f = 0; f < frames; f++) {
        const double t = seconds * f / std::max(1, frames - 1);
        const double w = 2 * M_PI * cycles * t / seconds;
        m.position.insert(m.position.end(), {static_cast<float>(2 * std::sin(w)), static_cast<float>(0.3 * std::sin(2 * w)),
                                             static_cast<float>(3 * t / seconds)});
        for (int i = 0; i < 20; i++) {
            const float base = p.part[i].rotation[0];
            double amp[3] = {20, 15, 15};
            double mid = base;
            if (i == RLA || i == LLA) { mid = -70; amp[0] = 45; }
            if (i == RLL || i == LLL) { mid = 60; amp[0] = 45; }
            if (i == ROOT) { amp[0] = 10; amp[1] = 60; amp[2] = 10; }
            for (int k = 0; k < 3; k++) {
                const double phase = 0.7 * i + 1.3 * k;
                m.angles.push_back(static_cast<float>((k == 0 ? mid : 0) + amp[k] * std::sin(w * (1 + (i + k) % 2) + phase)));
            }
        }
    }
    return m;
}

// World frames of the known motion at frame f.
inline FigureFrames framesAt(const KnownMotion& m, int f) {
    FigureFrames out;
    m.posed->frames(m.position.data() + 3 * f, m.pose(f), out);
    return out;
}

inline Mat3 rot(int axis, double deg) { return axisRotation(axis, deg); }

// Euler angles of `m` for the channel order (a0, a1, a2): m = Ra0 Ra1 Ra2.
inline void eulerFor(const Mat3& m, const int* order, double* out) {
    auto at = [&](int r, int c) { const Vec3& v = m.c[c]; return r == 0 ? v.x : r == 1 ? v.y : v.z; };
    const int i = order[0], j = order[1], k = order[2];
    const double e = ((j - i + 3) % 3 == 1) ? 1.0 : -1.0;
    out[1] = std::asin(std::max(-1.0, std::min(1.0, e * at(i, k)))) * kDegrees;
    out[0] = std::atan2(-e * at(j, k), at(k, k)) * kDegrees;
    out[2] = std::atan2(-e * at(i, j), at(i, i)) * kDegrees;
}

struct RigJoint {
    std::string name;
    int parent;    // rig joint index, -1 for the root
    int part;      // the figure part whose turning it follows
    int anchor;    // the part its position is fixed to
    Vec3 at;       // its position in the anchor's frame
    bool end;      // closed by an End Site along its part
};

enum class Names { Game, Cmu };

// A rig with its own names and extra joints, following the figure's parts.
inline std::vector<RigJoint> rigFor(const FigureShape& s, Names names, const std::string& prefix = "",
                                   int extraFingers = 0) {
    auto off = [&](int part) { return Vec3{s.jointOffset[part][0], s.jointOffset[part][1], s.jointOffset[part][2]}; };
    auto tip = [&](int part) { return Vec3{0, s.length[part], 0}; };
    const bool cmu = names == Names::Cmu;
    std::vector<RigJoint> r;
    auto add = [&](std::string n, int parent, int part, int anchor, Vec3 at, bool end = false) {
        r.push_back({prefix + n, parent, part, anchor, at, end});
        return static_cast<int>(r.size()) - 1;
    };
    const int hips = add("Hips", -1, PELVIS, PELVIS, {});
    int below = hips;
    if (cmu) below = add("lowerback", hips, PELVIS, PELVIS, {});  // zero length
    const int spine = add("Spine", below, STOMK, PELVIS, off(STOMK));
    const int spine1 = add("Spine1", spine, STOMK, STOMK, {0, 1, 0});
    const int chest = add(cmu ? "Chest" : "Spine2", spine1, TORSO, STOMK, off(TORSO));
    int neck = add(cmu ? "lowerneck" : "Neck", chest, NECK, TORSO, off(NECK));
    if (cmu) neck = add("Neck", neck, NECK, NECK, {0, 0.3, 0});
    const int head = add("Head", neck, HEAD, NECK, cmu ? off(HEAD) - Vec3{0, 0.3, 0} : off(HEAD), true);
    (void)head;
    for (int side = 0; side < 2; side++) {
        const std::string S = side ? "Left" : "Right", s1 = side ? "L" : "R";
        const int ua = side ? LUA : RUA, la = side ? LLA : RLA, hd = side ? LH : RH;
        const int ul = side ? LUL : RUL, ll = side ? LLL : RLL, ft = side ? LF : RF;
        const double x = side ? 0.5 : -0.5;
        const int collar = add(S + (cmu ? "Collar" : "Shoulder"), chest, TORSO, TORSO, {x, 1.6, 0});
        const int arm = add(S + (cmu ? "Shoulder" : "Arm"), collar, ua, TORSO, off(ua));
        const int fore = add(S + (cmu ? "Elbow" : "ForeArm"), arm, la, ua, off(la));
        const int hand = add(S + (cmu ? "Wrist" : "Hand"), fore, hd, la, off(hd));
        add(S + (cmu ? "FingerBase" : "HandMiddle1"), hand, hd, hd, tip(hd), true);
        add(cmu ? s1 + "Thumb" : S + "HandThumb1", hand, hd, hd, {x * 0.4, 0.4, 0.2}, true);
        for (int k = 0; k < extraFingers; k++)
            add(S + "HandRing" + std::to_string(k + 1), hand, hd, hd, {x * 0.1 * (k % 4), 0.9, 0.05 * k}, true);
        int legTop = hips;
        if (cmu) legTop = add(s1 + "HipJoint", hips, PELVIS, PELVIS, {});  // zero length
        const int thigh = add(S + (cmu ? "Hip" : "UpLeg"), legTop, ul, PELVIS, off(ul));
        const int knee = add(S + (cmu ? "Knee" : "Leg"), thigh, ll, ul, off(ll));
        const int foot = add(S + (cmu ? "Ankle" : "Foot"), knee, ft, ll, off(ft));
        add(S + (cmu ? "Toe" : "ToeBase"), foot, ft, ft, tip(ft), true);
    }
    return r;
}

// The rest pose turns each part into a T-pose: arms out, legs and spine
// straight, feet forward. restTurn(part)^T carries the part's +y there.
inline Mat3 restTurn(int part) {
    switch (part) {
    case LUA: case LLA: case LH: return rot(2, 90);
    case RUA: case RLA: case RH: return rot(2, -90);
    case RUL: case RLL: case LUL: case LLL: return rot(0, 180);
    case RF: case LF: return rot(0, -90);
    default: return Mat3();
    }
}

struct RecordingStyle {
    Names names = Names::Game;
    std::string prefix;
    double unit = 1;                 // 30: a figure unit becomes 30 (centimetres, say)
    bool zUp = false;
    std::vector<std::string> orders{"XYZ"};  // channel orders, cycled over the joints
    Vec3 rootOffset;                 // written as the root's OFFSET; positions stay absolute
    bool crlf = false;
    int extraFingers = 0;            // more joints under each hand
};

inline std::string recording(const KnownMotion& m, const RecordingStyle& st, double frameTime) {
    const std::vector<RigJoint> rig = rigFor(m.shape, st.names, st.prefix, st.extraFingers);
    const int n = static_cast<int>(rig.size());
    Mat3 axes;  // figure (y up) to file
    if (st.zUp) { axes.c[1] = {0, 0, 1}; axes.c[2] = {0, -1, 0}; }
    auto file = [&](Vec3 v) { return st.unit * (axes * v); };
    // Rest offsets: the joint's position from its parent's, in the parent's rest frame.
    const FigureFrames f0 = framesAt(m, 0);
    std::vector<Vec3> restOffset(n);
    std::vector<Vec3> world0(n);
    for (int j = 0; j < n; j++) world0[j] = f0.at[rig[j].anchor] + f0.turn[rig[j].anchor] * rig[j].at;
    for (int j = 1; j < n; j++) {
        const int p = rig[j].parent;
        const Mat3 parentTurn = f0.turn[rig[p].part] * restTurn(rig[p].part);
        restOffset[j] = file(transpose(parentTurn) * (world0[j] - world0[p]));
    }
    auto order = [&](int j) { return st.orders[j % st.orders.size()]; };
    // The HIERARCHY depth first; the MOTION follows the same sequence.
    std::vector<int> seq;
    std::string text = "HIERARCHY\n";
    char line[256];
    std::function<void(int, int)> write = [&](int j, int depth) {
        seq.push_back(j);
        const std::string pad(2 * depth, ' ');
        text += pad + (j == 0 ? "ROOT " : "JOINT ") + rig[j].name + "\n" + pad + "{\n";
        const Vec3 o = j == 0 ? file(st.rootOffset) : restOffset[j];
        std::snprintf(line, sizeof line, "%s  OFFSET %.6f %.6f %.6f\n", pad.c_str(), o.x, o.y, o.z);
        text += line;
        const std::string ord = order(j);
        text += pad + "  CHANNELS " + (j == 0 ? "6 Xposition Yposition Zposition " : "3 ");
        for (int k = 0; k < 3; k++) text += std::string(1, ord[k]) + "rotation" + (k < 2 ? " " : "\n");
        for (int c = 0; c < n; c++)
            if (rig[c].parent == j) write(c, depth + 1);
        if (rig[j].end) {
            const Vec3 e = file(transpose(restTurn(rig[j].part)) * Vec3{0, 0.3, 0});
            std::snprintf(line, sizeof line, "%s  End Site\n%s  {\n%s    OFFSET %.6f %.6f %.6f\n%s  }\n", pad.c_str(),
                          pad.c_str(), pad.c_str(), e.x, e.y, e.z, pad.c_str());
            text += line;
        }
        text += pad + "}\n";
    };
    write(0, 0);
    int written = 0;
    std::string motion;
    for (int f = 0; f < m.frames; f++, written++) {
        const FigureFrames fr = framesAt(m, f);
        for (int idx = 0; idx < n; idx++) {
            const int j = seq[idx];
            const Mat3 turn = axes * fr.turn[rig[j].part] * restTurn(rig[j].part) * transpose(axes);
            Mat3 local = turn;
            if (j > 0) {
                const int p = rig[j].parent;
                local = transpose(axes * fr.turn[rig[p].part] * restTurn(rig[p].part) * transpose(axes)) * turn;
            } else {
                const Vec3 at = file(fr.at[rig[0].anchor] + fr.turn[rig[0].anchor] * rig[0].at);
                std::snprintf(line, sizeof line, "%.6f %.6f %.6f ", at.x, at.y, at.z);
                motion += line;
            }
            const std::string ord = order(j);
            const int axesOrder[3] = {ord[0] - 'X', ord[1] - 'X', ord[2] - 'X'};
            double e[3];
            eulerFor(local, axesOrder, e);
            std::snprintf(line, sizeof line, "%.6f %.6f %.6f%s", e[0], e[1], e[2], idx + 1 < n ? " " : "\n");
            motion += line;
        }
    }
    std::snprintf(line, sizeof line, "MOTION\nFrames: %d\nFrame Time: %.6f\n", written, frameTime);
    text += line + motion;
    if (st.crlf) {
        std::string crlf;
        for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        text = crlf;
    }
    return text;
}

}  // namespace mocap_test
