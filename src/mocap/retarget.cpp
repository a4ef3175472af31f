// retarget.cpp - the recording's poses, the parts' frames, the angles.
#include "mocap/retarget.h"

#include <algorithm>
#include <cmath>

#include "figure/person.h"
#include "figure/skeleton.h"

namespace {

using skeleton::kOrder;
using skeleton::kParent;

Vec3 normalized(Vec3 v) {
    const double n = length(v);
    return n > 1e-12 ? (1.0 / n) * v : Vec3{};
}

// The recording at one frame: every point's position and every joint's turn,
// in the figure's axes (y up).
class RecordedPose {
public:
    RecordedPose(const BvhClip& clip, bool zUp) : clip_(clip), n_(static_cast<int>(clip.joints.size())) {
        turn_.resize(n_);
        at_.resize(2 * n_);
        if (zUp) {  // z up becomes y up; the performer's forward follows
            axes_.c[1] = {0, 0, -1};
            axes_.c[2] = {0, 1, 0};
        }
    }

    void set(int frame) {
        const float* v = clip_.frame(frame);
        for (int j = 0; j < n_; j++) {
            const BvhJoint& b = clip_.joints[j];
            Mat3 local;
            Vec3 t{b.offset[0], b.offset[1], b.offset[2]};
            for (int c = 0; c < b.channelCount; c++) {
                const int k = static_cast<int>(b.channels[c]);
                const double value = v[b.firstChannel + c];
                if (k >= 3) local = local * axisRotation(k - 3, value);
                else if (k == 0) t.x = value;  // positions are absolute, not added to OFFSET
                else if (k == 1) t.y = value;
                else t.z = value;
            }
            if (b.parent < 0) {
                turn_[j] = axes_ * local;
                at_[j] = axes_ * t;
            } else {
                turn_[j] = turn_[b.parent] * local;
                at_[j] = at_[b.parent] + turn_[b.parent] * t;
            }
            at_[n_ + j] = at_[j] + turn_[j] * Vec3{b.endOffset[0], b.endOffset[1], b.endOffset[2]};
        }
    }
    Vec3 at(int point) const { return at_[point]; }
    const Mat3& turn(int joint) const { return turn_[joint]; }
    Vec3 direction(const Segment& s) const {
        if (s.to >= 0) return at_[s.to] - at_[s.from];
        return turn_[s.from] * s.restDir;
    }
    Vec3 twist(const Segment& s) const { return turn_[s.twistJoint] * s.twist; }

private:
    const BvhClip& clip_;
    int n_;
    Mat3 axes_;
    std::vector<Mat3> turn_;
    std::vector<Vec3> at_;
};

// A frame whose y is `axis` and whose x is as near `side` as it can be; a
// side along the axis gives way to `fallback`.
Mat3 frameAlong(Vec3 axis, Vec3 side, Vec3 fallback) {
    Mat3 m;
    const Vec3 y = normalized(axis);
    if (length(y) == 0) return m;
    Vec3 x = side - dot(side, y) * y;
    if (length(x) < 0.05 * std::max(length(side), 1e-9)) x = fallback - dot(fallback, y) * y;
    x = normalized(x);
    if (length(x) == 0) {  // fallback along the axis too: any square direction
        const Vec3 any = std::fabs(y.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 0, 1};
        x = normalized(any - dot(any, y) * y);
    }
    m.c[0] = x;
    m.c[1] = y;
    m.c[2] = cross(x, y);
    return m;
}

// The way the hips face, as a turn about the vertical (degrees; 0 faces
// +z). The root takes only this and the pelvis the tilts: a root holding
// every turn would meet its Rx Ry Rz lock whenever the performer faces
// along x, and its angles would whirl there.
// Forward and side (turned a quarter to face forward) are summed on the
// floor, so the heading moves smoothly however the hips tilt.
double headingOf(const Mat3& hips) {
    const Vec3 forward = hips.c[2], side = hips.c[0];
    return std::atan2(forward.x - side.z, forward.z + side.x) * kDegrees;
}

double nearestTurn(double v, double ref) { return v + 360.0 * std::round((ref - v) / 360.0); }

// Rx Ry Rz angles of `m`, the one of the two equivalent triples (and their
// whole turns) nearest `previous`.
void anglesOf(const Mat3& m, const float* previous, float* out) {
    const double sb = std::clamp(m.c[2].x, -1.0, 1.0);
    double a, b = std::asin(sb) * kDegrees, c;
    if (std::sqrt(1 - sb * sb) > 1e-7) {
        a = std::atan2(-m.c[2].y, m.c[2].z) * kDegrees;
        c = std::atan2(-m.c[1].x, m.c[0].x) * kDegrees;
    } else {
        a = std::atan2(m.c[1].z, m.c[1].y) * kDegrees;
        c = 0;
    }
    const double options[2][3] = {{a, b, c}, {a + 180, 180 - b, c + 180}};
    double best = 1e300;
    for (const auto& o : options) {
        double v[3], cost = 0;
        for (int k = 0; k < 3; k++) {
            v[k] = nearestTurn(o[k], previous[k]);
            cost += std::fabs(v[k] - previous[k]);
        }
        if (cost < best) {
            best = cost;
            // Rounding noise (1e-15) would read as a turn in the animation file.
            for (int k = 0; k < 3; k++) out[k] = std::fabs(v[k]) < 1e-6 ? 0.0f : static_cast<float>(v[k]);
        }
    }
}

// The elbows' and knees' hinge, found where the limb is bent, as a fixed
// direction in the upper and the lower bone: the twist the figure copies.
void findHinges(const BvhClip& clip, RecordedPose& pose, RigMap& map) {
    struct Limb { int upper, lower, end; double sign; };
    // Arms bend the forearm forward about x = fore x upper; legs the shin
    // back about x = thigh x shin (the figure's knee and elbow turn about x).
    const Limb limbs[] = {{RUA, RLA, RH, -1}, {LUA, LLA, LH, -1}, {RUL, RLL, -1, 1}, {LUL, LLL, -1, 1}};
    Vec3 sumUpper[4], sumLower[4];
    const int step = std::max(1, clip.frames / 300);
    for (int f = 0; f < clip.frames; f += step) {
        pose.set(f);
        for (int i = 0; i < 4; i++) {
            const Segment& u = map.part[limbs[i].upper];
            const Segment& l = map.part[limbs[i].lower];
            const Vec3 a = normalized(pose.direction(u)), b = normalized(pose.direction(l));
            const Vec3 hinge = limbs[i].sign * cross(a, b);
            if (length(hinge) < 0.25) continue;  // nearly straight: the hinge is unclear
            const Vec3 h = normalized(hinge);
            sumUpper[i] = sumUpper[i] + transpose(pose.turn(u.twistJoint)) * h;
            sumLower[i] = sumLower[i] + transpose(pose.turn(l.twistJoint)) * h;
        }
    }
    for (int i = 0; i < 4; i++) {
        if (length(sumUpper[i]) > 0) map.part[limbs[i].upper].twist = normalized(sumUpper[i]);
        if (length(sumLower[i]) > 0) map.part[limbs[i].lower].twist = normalized(sumLower[i]);
        if (limbs[i].end >= 0 && length(sumLower[i]) > 0) map.part[limbs[i].end].twist = normalized(sumLower[i]);
    }
}

}  // namespace

bool recordedZUp(const BvhClip& clip, const RigMap& map) {
    RecordedPose pose(clip, false);
    pose.set(0);
    const Vec3 up = pose.at(map.part[HEAD].from) - pose.at(map.hips);
    return up.z > up.y;
}

RetargetedMotion retarget(const BvhClip& clip, const RigMap& rig, const FigureShape& figure) {
    RigMap map = rig;
    RecordedPose pose(clip, recordedZUp(clip, map));
    findHinges(clip, pose, map);

    RetargetedMotion out;
    out.frames = clip.frames;
    out.frameTime = clip.frameTime;
    out.position.resize(static_cast<std::size_t>(clip.frames) * 3);
    out.angles.resize(static_cast<std::size_t>(clip.frames) * 60);
    const double scale = (figure.length[RUL] + figure.length[RLL]) / map.legLength;

    float previous[60];
    for (int i = 0; i < 20; i++)
        for (int k = 0; k < 3; k++) previous[3 * i + k] = figure.rotation[i][k];
    Vec3 start;
    Mat3 world[20];
    for (int f = 0; f < clip.frames; f++) {
        pose.set(f);
        const Vec3 hips = scale * pose.at(map.hips);
        if (f == 0) start = hips;
        float* p = out.position.data() + 3 * f;
        p[0] = static_cast<float>(hips.x - start.x + figure.position[0]);
        p[1] = static_cast<float>(hips.y);
        p[2] = static_cast<float>(hips.z - start.z + figure.position[2]);

        const Vec3 hipSide = pose.at(map.leftThigh) - pose.at(map.rightThigh);
        const Vec3 chestSide = pose.at(map.leftShoulder) - pose.at(map.rightShoulder);
        world[PELVIS] = frameAlong(pose.direction(map.part[PELVIS]), hipSide, Vec3{1, 0, 0});
        world[ROOT] = axisRotation(1, headingOf(world[PELVIS]));
        for (int i : kOrder) {
            if (i == ROOT || i == PELVIS) continue;
            if (!map.used[i]) continue;  // the hand items: below
            const Segment& s = map.part[i];
            const Vec3 side = i == TORSO ? chestSide : pose.twist(s);
            world[i] = frameAlong(pose.direction(s), side, world[kParent[i]].c[0]);
        }
        float* a = out.pose(f);
        for (int i = 0; i < 20; i++) {
            if (!map.used[i] && i != ROOT) {  // nothing drives it: it keeps its angles
                std::copy(figure.rotation[i], figure.rotation[i] + 3, a + 3 * i);
                continue;
            }
            const Mat3 local = i == ROOT ? world[i] : transpose(world[kParent[i]]) * world[i];
            anglesOf(local, previous + 3 * i, a + 3 * i);
        }
        std::copy(a, a + 60, previous);
    }

    // Lift or lower the clip so its lowest foot touches the floor.
    double lowest = 1e300;
    PosedFigure posed(figure);
    FigureFrames frames;
    for (int f = 0; f < out.frames; f++) {
        posed.frames(out.position.data() + 3 * f, out.pose(f), frames);
        for (int foot : {RF, LF}) {
            const Vec3 toe = frames.at[foot] + frames.turn[foot] * Vec3{0, figure.length[foot], 0};
            lowest = std::min({lowest, frames.at[foot].y, toe.y});
        }
    }
    const double lift = kFloorHeight - lowest;
    for (int f = 0; f < out.frames; f++) out.position[3 * f + 1] = static_cast<float>(out.position[3 * f + 1] + lift);
    return out;
}
