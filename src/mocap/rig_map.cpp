// rig_map.cpp - names for sides and chain ends, the chain for everything else.
#include "mocap/rig_map.h"

#include <algorithm>
#include <cctype>

#include "figure/person.h"

namespace {

constexpr double kZeroLength = 1e-6;

// Old CMU skeleton words that follow a bare "l" or "r" (lfemur, rhumerus).
const char* const kAsfWords[] = {"hipjoint", "femur", "tibia", "foot", "toes", "clavicle", "humerus",
                                 "radius", "wrist", "hand", "fingers", "thumb"};

bool contains(const std::string& s, const char* w) { return s.find(w) != std::string::npos; }
bool startsWith(const std::string& s, const char* w) { return s.rfind(w, 0) == 0; }
bool endsWith(const std::string& s, const std::string& w) {
    return s.size() >= w.size() && s.compare(s.size() - w.size(), w.size(), w) == 0;
}

std::string afterPrefix(const std::string& name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

// 'L', 'R' or 0, from "Left...", "L_...", "LHipJoint", "lfemur", "..._l", "....L".
char sideOf(const std::string& name) {
    const std::string raw = afterPrefix(name);
    const std::string low = plainJointName(name);
    for (char s : {'L', 'R'}) {
        const std::string word = s == 'L' ? "left" : "right";
        const char lc = static_cast<char>(std::tolower(s));
        if (startsWith(low, word.c_str()) || endsWith(low, word)) return s;
        if (low.size() > 2 && low[0] == lc && (low[1] == '_' || low[1] == '.')) return s;
        if (endsWith(low, std::string("_") + lc) || endsWith(low, std::string(".") + lc)) return s;
        if (raw.size() > 1 && raw[0] == s && std::isupper(static_cast<unsigned char>(raw[1]))) return s;
        if (!low.empty() && low[0] == lc)
            for (const char* w : kAsfWords)
                if (low.compare(1, std::string::npos, w) == 0) return s;
    }
    return 0;
}

// The figure's own labels (a file this program exported) name their role too.
bool isHand(const std::string& n) { return contains(n, "hand") || contains(n, "wrist") || n == "lh" || n == "rh"; }
bool isFoot(const std::string& n) { return contains(n, "foot") || contains(n, "ankle") || n == "lf" || n == "rf"; }
bool isHead(const std::string& n) { return contains(n, "head") && !contains(n, "end") && !contains(n, "top"); }
bool isElbow(const std::string& n) {
    return contains(n, "forearm") || contains(n, "elbow") || contains(n, "radius") || contains(n, "lowerarm") ||
           n == "lla" || n == "rla";
}
bool isKnee(const std::string& n) {
    const bool upper = contains(n, "up") || contains(n, "thigh") || contains(n, "femur");
    return !upper && (contains(n, "leg") || contains(n, "knee") || contains(n, "tibia") || contains(n, "shin") ||
                      contains(n, "calf") || n == "lll" || n == "rll");
}
bool isHelper(const std::string& n) { return contains(n, "roll") || contains(n, "twist"); }
// This program's own hand items: beside the hand, not along it.
bool isHandItem(const std::string& n) { return n == "lhi" || n == "rhi"; }

class Rig {
public:
    Rig(const BvhClip& clip) : clip_(clip), rest_(restPoints(clip)) {
        for (const BvhJoint& j : clip.joints) names_.push_back(plainJointName(j.name));
    }
    int joints() const { return static_cast<int>(clip_.joints.size()); }
    int parent(int j) const { return clip_.joints[j].parent; }
    const std::string& name(int j) const { return names_[j]; }
    Vec3 at(int point) const { return rest_[point]; }
    double distance(int a, int b) const { return length(rest_[a] - rest_[b]); }

    // First joint in file order (parents first) on `side` passing `test`.
    template <class Test>
    int find(char side, Test test) const {
        for (int j = 0; j < joints(); j++)
            if (test(names_[j]) && sideOf(clip_.joints[j].name) == side) return j;
        return -1;
    }
    // The nearest ancestor of j that is away from j and no twist helper.
    int upFrom(int j) const {
        for (int a = parent(j); a >= 0; a = parent(a))
            if (distance(a, j) > kZeroLength && !isHelper(names_[a])) return a;
        return -1;
    }
    // The ancestor of j named by `test` within three steps, else upFrom(j).
    template <class Test>
    int namedAbove(int j, Test test) const {
        int a = parent(j);
        for (int k = 0; k < 3 && a >= 0; k++, a = parent(a))
            if (test(names_[a])) return a;
        return upFrom(j);
    }
    bool isAncestor(int a, int j) const {
        for (int p = j; p >= 0; p = parent(p))
            if (p == a) return true;
        return false;
    }
    // The far end of joint j: a child away from it (`preferred` first), else its End Site.
    int tip(int j, const char* preferred) const {
        int first = -1;
        for (int c = 0; c < joints(); c++) {
            if (parent(c) != j || distance(c, j) <= kZeroLength || isHandItem(names_[c])) continue;
            if (preferred && contains(names_[c], preferred)) return c;
            if (first < 0) first = c;
        }
        if (first >= 0) return first;
        if (clip_.joints[j].hasEnd && distance(joints() + j, j) > kZeroLength) return joints() + j;
        return -1;
    }

private:
    const BvhClip& clip_;
    std::vector<Vec3> rest_;
    std::vector<std::string> names_;
};

Vec3 normalized(Vec3 v) {
    const double n = length(v);
    return n > 0 ? (1.0 / n) * v : v;
}

// A rest-pose direction square to `dir`: the side axis, else the up axis.
Vec3 squareTo(Vec3 dir, Vec3 side, Vec3 up) {
    for (Vec3 ref : {side, up}) {
        const Vec3 v = ref - dot(ref, dir) * dir;
        if (length(v) > 0.3) return normalized(v);
    }
    return side;
}

void setSegment(const Rig& rig, const RigMap& m, Segment& s, int from, int to, Vec3 fallback) {
    s.from = from;
    s.to = to;
    s.restDir = to >= 0 ? normalized(rig.at(to) - rig.at(from)) : fallback;
    s.twistJoint = from;
    s.twist = squareTo(s.restDir, m.restSide, m.restUp);
}

// Lists the kinds of joints below hands, feet and head that nothing follows.
void noteLeftOut(const Rig& rig, const int* ends, int count, RigMap& m) {
    bool toes = false, fingers = false, eyes = false, other = false;
    for (int j = 0; j < rig.joints(); j++) {
        bool below = false;
        for (int e = 0; e < count; e++) below = below || (ends[e] >= 0 && j != ends[e] && rig.isAncestor(ends[e], j));
        if (!below) continue;
        const std::string& n = rig.name(j);
        if (contains(n, "toe")) toes = true;
        else if (contains(n, "eye")) eyes = true;
        else if (contains(n, "end") || contains(n, "top") || isHandItem(n)) continue;
        else if (contains(n, "finger") || contains(n, "thumb") || contains(n, "index") || contains(n, "middle") ||
                 contains(n, "ring") || contains(n, "pinky") || contains(n, "hand")) fingers = true;
        else other = true;
    }
    if (toes) m.leftOut.push_back("toes");
    if (fingers) m.leftOut.push_back("fingers");
    if (eyes) m.leftOut.push_back("eyes");
    if (other) m.leftOut.push_back("other end joints");
}

}  // namespace

std::string plainJointName(const std::string& name) {
    std::string s = afterPrefix(name);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<Vec3> restPoints(const BvhClip& clip) {
    const std::size_t n = clip.joints.size();
    std::vector<Vec3> p(2 * n);
    for (std::size_t j = 0; j < n; j++) {
        const BvhJoint& b = clip.joints[j];
        const Vec3 base = b.parent >= 0 ? p[b.parent] : Vec3{};
        p[j] = base + Vec3{b.offset[0], b.offset[1], b.offset[2]};
        p[n + j] = p[j] + Vec3{b.endOffset[0], b.endOffset[1], b.endOffset[2]};
    }
    return p;
}

bool mapRig(const BvhClip& clip, RigMap& m, std::string& error) {
    m = RigMap();
    const Rig rig(clip);
    const int head = rig.find(0, isHead);
    const int hand[2] = {rig.find('R', isHand), rig.find('L', isHand)};
    const int foot[2] = {rig.find('R', isFoot), rig.find('L', isFoot)};
    if (head < 0) { error = "no head joint"; return false; }
    if (hand[0] < 0 || hand[1] < 0) { error = "no left and right hand (or wrist) joints"; return false; }
    if (foot[0] < 0 || foot[1] < 0) { error = "no left and right foot (or ankle) joints"; return false; }

    int elbow[2], shoulder[2], knee[2], thigh[2];
    for (int s = 0; s < 2; s++) {
        elbow[s] = rig.namedAbove(hand[s], isElbow);
        shoulder[s] = elbow[s] >= 0 ? rig.upFrom(elbow[s]) : -1;
        knee[s] = rig.namedAbove(foot[s], isKnee);
        thigh[s] = knee[s] >= 0 ? rig.upFrom(knee[s]) : -1;
        if (shoulder[s] < 0 || thigh[s] < 0) { error = "an arm or a leg is too short a chain"; return false; }
    }
    // The hips: where the two legs meet.
    int hips = thigh[0];
    while (hips >= 0 && !rig.isAncestor(hips, thigh[1])) hips = rig.parent(hips);
    if (hips < 0 || !rig.isAncestor(hips, head)) { error = "the legs do not meet below the head"; return false; }
    // The neck: the highest of the "neck" joints over the head, else the head's parent.
    int neck = -1;
    for (int a = rig.parent(head); a >= 0 && a != hips && contains(rig.name(a), "neck"); a = rig.parent(a)) neck = a;
    if (neck < 0) neck = rig.upFrom(head);
    if (neck < 0 || neck == hips || !rig.isAncestor(hips, neck)) { error = "no neck between hips and head"; return false; }

    m.hips = hips;
    m.rightThigh = thigh[0]; m.leftThigh = thigh[1];
    m.rightShoulder = shoulder[0]; m.leftShoulder = shoulder[1];
    m.restUp = normalized(rig.at(neck) - rig.at(hips));
    const Vec3 side = rig.at(thigh[1]) - rig.at(thigh[0]);
    m.restSide = normalized(side - dot(side, m.restUp) * m.restUp);
    m.legLength = 0.5 * (rig.distance(thigh[0], knee[0]) + rig.distance(knee[0], foot[0]) +
                         rig.distance(thigh[1], knee[1]) + rig.distance(knee[1], foot[1]));
    if (!(m.legLength > 1e-6)) { error = "the legs have no length"; return false; }

    // The spine, hips to neck, without joints of zero length.
    std::vector<int> spine;
    for (int a = neck; a >= 0 && a != hips; a = rig.parent(a)) spine.push_back(a);
    spine.push_back(hips);
    std::reverse(spine.begin(), spine.end());
    std::vector<int> points{hips};
    for (std::size_t i = 1; i < spine.size(); i++)
        if (rig.distance(spine[i], points.back()) > kZeroLength) points.push_back(spine[i]);
    if (points.back() != neck) points.back() = neck;
    // The pelvis to the first spine joint; stomach and chest share the rest,
    // split at the joint nearest half-way.
    const int pelvisTop = points.size() > 2 ? points[1] : neck;
    int mid = neck;
    double best = 1e300;
    const double half = 0.5 * (rig.distance(pelvisTop, neck));
    for (std::size_t i = 2; i + 1 < points.size(); i++) {
        const double d = std::fabs(rig.distance(pelvisTop, points[i]) - half);
        if (d < best) { best = d; mid = points[i]; }
    }
    const Vec3 up = m.restUp;
    setSegment(rig, m, m.part[PELVIS], hips, pelvisTop, up);
    const int stomach = pelvisTop == neck ? hips : pelvisTop;
    setSegment(rig, m, m.part[STOMK], stomach, mid, up);
    setSegment(rig, m, m.part[TORSO], mid == neck ? stomach : mid, neck, up);
    setSegment(rig, m, m.part[NECK], neck, head, up);
    setSegment(rig, m, m.part[HEAD], head, rig.tip(head, nullptr), up);
    const int ua[2] = {RUA, LUA}, la[2] = {RLA, LLA}, hd[2] = {RH, LH};
    const int ul[2] = {RUL, LUL}, ll[2] = {RLL, LLL}, ft[2] = {RF, LF};
    for (int s = 0; s < 2; s++) {
        setSegment(rig, m, m.part[ua[s]], shoulder[s], elbow[s], up);
        setSegment(rig, m, m.part[la[s]], elbow[s], hand[s], up);
        setSegment(rig, m, m.part[hd[s]], hand[s], rig.tip(hand[s], "middle"), m.part[la[s]].restDir);
        setSegment(rig, m, m.part[ul[s]], thigh[s], knee[s], up);
        setSegment(rig, m, m.part[ll[s]], knee[s], foot[s], up);
        const Vec3 forward = cross(m.restSide, m.restUp);
        setSegment(rig, m, m.part[ft[s]], foot[s], rig.tip(foot[s], nullptr), forward);
    }
    for (int p : {PELVIS, STOMK, TORSO, NECK, HEAD, RUA, LUA, RLA, LLA, RH, LH, RUL, LUL, RLL, LLL, RF, LF})
        m.used[p] = true;
    const int ends[] = {hand[0], hand[1], foot[0], foot[1], head};
    noteLeftOut(rig, ends, 5, m);
    return true;
}
