// limb_ik.cpp - two-joint limb solving and the planted-feet body move.
//
// Sections (search "[SECTION]"): rotations, fitting angles to limits,
// frames, limbs, body.
//
// Rotations are column-major 3x3 (m[col * 3 + row]) and compose as the part
// matrices do: R = Rx(x) * Ry(y) * Rz(z), degrees.
#include "edit/limb_ik.h"

#include <cmath>

#include "figure/person.h"

const LimbChain kLimbChains[LIMB_COUNT] = {
    {RUA, RLA, RH, -1.0f},
    {LUA, LLA, LH, -1.0f},
    {RUL, RLL, RF, +1.0f},
    {LUL, LLL, LF, +1.0f},
};

namespace {

// Each part's parent, by index (the tree of the skeleton, read upwards).
constexpr int kParent[BODY_PART_COUNT] = {
    -1, STOMK, PELVIS, ROOT, TORSO, NECK, TORSO, TORSO, RUA, LUA,
    RLA, LLA, PELVIS, PELVIS, RUL, LUL, RLL, LLL, LH, RH,
};

constexpr double kDeg = M_PI / 180.0;

// [SECTION] Rotations

void rotationXYZ(const float r[3], double m[9]) {
    const double sa = std::sin(r[0] * kDeg), ca = std::cos(r[0] * kDeg);
    const double sb = std::sin(r[1] * kDeg), cb = std::cos(r[1] * kDeg);
    const double sc = std::sin(r[2] * kDeg), cc = std::cos(r[2] * kDeg);
    m[0] = cb * cc;                 m[3] = -cb * sc;                m[6] = sb;
    m[1] = ca * sc + sa * sb * cc;  m[4] = ca * cc - sa * sb * sc;  m[7] = -sa * cb;
    m[2] = sa * sc - ca * sb * cc;  m[5] = sa * cc + ca * sb * sc;  m[8] = ca * cb;
}

// The x, y, z angles (degrees) of R = Rx * Ry * Rz, with y in -90..90.
void anglesXYZ(const double m[9], double out[3]) {
    const double sb = m[6] > 1 ? 1 : (m[6] < -1 ? -1 : m[6]);
    out[0] = std::atan2(-m[7], m[8]) / kDeg;
    out[1] = std::asin(sb) / kDeg;
    out[2] = std::atan2(-m[3], m[0]) / kDeg;
}

void multiply(const double a[9], const double b[9], double out[9]) {
    for (int col = 0; col < 3; col++)
        for (int row = 0; row < 3; row++)
            out[col * 3 + row] = a[row] * b[col * 3] + a[3 + row] * b[col * 3 + 1] + a[6 + row] * b[col * 3 + 2];
}

// out = transpose(a) * b
void multiplyTransposed(const double a[9], const double b[9], double out[9]) {
    for (int col = 0; col < 3; col++)
        for (int row = 0; row < 3; row++)
            out[col * 3 + row] = a[row * 3] * b[col * 3] + a[row * 3 + 1] * b[col * 3 + 1] + a[row * 3 + 2] * b[col * 3 + 2];
}

void apply(const double m[9], const double v[3], double out[3]) {
    for (int row = 0; row < 3; row++) out[row] = m[row] * v[0] + m[3 + row] * v[1] + m[6 + row] * v[2];
}

void applyTransposed(const double m[9], const double v[3], double out[3]) {
    for (int row = 0; row < 3; row++) out[row] = m[row * 3] * v[0] + m[row * 3 + 1] * v[1] + m[row * 3 + 2] * v[2];
}

double distance(const double a[3], const double b[3]) {
    const double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// [SECTION] Fitting angles to limits

// The turn equal to `a` (give or take whole turns) that lies in lo..hi and
// nearest to `current`; clamped to the range when no such turn exists.
double fitAngle(double a, double lo, double hi, double current) {
    double best = 0, bestScore = INFINITY;
    for (int k = -2; k <= 2; k++) {
        const double c = a + 360.0 * k;
        const double clamped = c < lo ? lo : (c > hi ? hi : c);
        // Outside the range counts far more than the distance from the present angle.
        const double score = 1e6 * std::fabs(clamped - c) + std::fabs(clamped - current);
        if (score < bestScore) { bestScore = score; best = clamped; }
    }
    return best;
}

float fitAxis(const BodyPart& b, int axis, double a) {
    // Rounding noise about a zero angle would be saved as "2.9e-08".
    if (std::fabs(a) < 1e-4) a = 0;
    if (!b.limitsOn) return static_cast<float>(a);
    return static_cast<float>(fitAngle(a, b.minRotation[axis], b.maxRotation[axis], b.rotation[axis]));
}

}  // namespace

// [SECTION] Frames

WorldFrame partWorldFrame(const Person& p, int part) {
    WorldFrame f;
    const int parent = kParent[part];
    const BodyPart& b = p.part[part];
    double local[9];
    rotationXYZ(b.rotation, local);
    if (parent < 0) {
        for (int k = 0; k < 3; k++) f.pos[k] = p.position[k];
        for (int k = 0; k < 9; k++) f.rot[k] = local[k];
        return f;
    }
    const WorldFrame up = partWorldFrame(p, parent);
    const double offset[3] = {b.jointOffset[0], b.jointOffset[1], b.jointOffset[2]};
    double moved[3];
    apply(up.rot, offset, moved);
    for (int k = 0; k < 3; k++) f.pos[k] = up.pos[k] + moved[k];
    multiply(up.rot, local, f.rot);
    return f;
}

int limbOfPart(int part) {
    switch (part) {
        case RH: case RLA: case RHI: return LIMB_RIGHT_ARM;  // a held item moves its hand
        case LH: case LLA: case LHI: return LIMB_LEFT_ARM;
        case RF: case RLL: return LIMB_RIGHT_LEG;
        case LF: case LLL: return LIMB_LEFT_LEG;
        default: return -1;
    }
}

bool movesBody(int part) { return part == PELVIS || part == STOMK || part == TORSO; }

// [SECTION] Limbs

namespace {

// The upper joint's x and z (its twist y given) that turn the limb's end,
// at `w` in the upper part's frame, onto `t` in the joint's parent frame.
// Two turns about z fit; the one that ends nearer the target within the
// limits wins, then the one that turns less.
void aimUpper(const BodyPart& upper, double y, const double w[3], const double t[3], const double goal[3],
              float out[3]) {
    const double sb = std::sin(y * kDeg), cb = std::cos(y * kDeg);
    double s = (sb * w[2] - t[0]) / (cb * w[1]);
    s = s > 1 ? 1 : (s < -1 ? -1 : s);
    const double c1 = std::asin(s);
    const double candidates[2] = {c1, M_PI - c1};
    double bestError = INFINITY, bestTurn = INFINITY;
    for (double c : candidates) {
        const double yy = w[1] * std::cos(c);
        const double zz = sb * w[1] * std::sin(c) + cb * w[2];
        const double a = std::atan2(t[2], t[1]) - std::atan2(zz, yy);
        const float r[3] = {fitAxis(upper, 0, a / kDeg), static_cast<float>(y), fitAxis(upper, 2, c / kDeg)};
        double m[9], end[3];
        rotationXYZ(r, m);
        apply(m, w, end);
        const double error = distance(end, goal);
        const double turn = std::fabs(r[0] - upper.rotation[0]) + std::fabs(r[2] - upper.rotation[2]);
        if (error < bestError - 1e-9 || (error < bestError + 1e-9 && turn < bestTurn)) {
            bestError = error;
            bestTurn = turn;
            for (int k = 0; k < 3; k++) out[k] = r[k];
        }
    }
}

void setRotation(Person& p, int part, const float r[3]) {
    for (int k = 0; k < 3; k++) p.part[part].rotation[k] = r[k];
    p.updateTransform(part);
}

}  // namespace

double solveLimb(Person& p, int limb, const double target[3], const double endRotation[9]) {
    const LimbChain& c = kLimbChains[limb];
    BodyPart& upper = p.part[c.upper];
    BodyPart& lower = p.part[c.lower];
    const WorldFrame base = partWorldFrame(p, kParent[c.upper]);

    // The target in the frame of the upper joint's parent, from the joint.
    double rel[3], t[3];
    for (int k = 0; k < 3; k++) rel[k] = target[k] - base.pos[k];
    applyTransposed(base.rot, rel, t);
    for (int k = 0; k < 3; k++) t[k] -= upper.jointOffset[k];
    const double d = std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]);

    // Lower joint: the bend that makes the limb as long as the distance.
    const double l1 = upper.length, l2 = lower.length;
    double cosBend = (d * d - l1 * l1 - l2 * l2) / (2 * l1 * l2);
    cosBend = cosBend > 1 ? 1 : (cosBend < -1 ? -1 : cosBend);
    const float bend = fitAxis(lower, 0, c.bendSign * std::acos(cosBend) / kDeg);
    const float lowerRot[3] = {bend, lower.rotation[1], 0};
    const double e = bend * kDeg;
    const double w[3] = {0, l1 + l2 * std::cos(e), l2 * std::sin(e)};
    const double reach = std::sqrt(w[1] * w[1] + w[2] * w[2]);

    // Upper joint: aim the limb; out of reach it points at the target.
    if (d > 1e-9 && reach > 1e-9) {
        double aim[3];
        for (int k = 0; k < 3; k++) aim[k] = t[k] * reach / d;
        const double twist = fitAxis(upper, 1, upper.rotation[1]);
        float upperRot[3] = {upper.rotation[0], upper.rotation[1], upper.rotation[2]};
        aimUpper(upper, twist, w, aim, t, upperRot);
        setRotation(p, c.upper, upperRot);
    }
    setRotation(p, c.lower, lowerRot);

    // End part: keep its world orientation as far as its limits allow.
    const WorldFrame lowerFrame = partWorldFrame(p, c.lower);
    double local[9], angles[3];
    multiplyTransposed(lowerFrame.rot, endRotation, local);
    anglesXYZ(local, angles);
    const BodyPart& end = p.part[c.end];
    const float endRot[3] = {fitAxis(end, 0, angles[0]), fitAxis(end, 1, angles[1]), fitAxis(end, 2, angles[2])};
    setRotation(p, c.end, endRot);

    const WorldFrame endFrame = partWorldFrame(p, c.end);
    return distance(endFrame.pos, target);
}

// [SECTION] Body

PlantedFeet plantFeet(const Person& p) {
    PlantedFeet f;
    const int feet[2] = {RF, LF};
    for (int i = 0; i < 2; i++) {
        const WorldFrame w = partWorldFrame(p, feet[i]);
        for (int k = 0; k < 3; k++) f.ankle[i][k] = w.pos[k];
        for (int k = 0; k < 9; k++) f.footRot[i][k] = w.rot[k];
    }
    return f;
}

namespace {

// Places the root and solves both legs; true when both feet stay put.
bool placeBody(Person& p, const float at[3], const PlantedFeet& feet) {
    for (int k = 0; k < 3; k++) p.position[k] = at[k];
    p.updateTransform(ROOT);
    const double right = solveLimb(p, LIMB_RIGHT_LEG, feet.ankle[0], feet.footRot[0]);
    const double left = solveLimb(p, LIMB_LEFT_LEG, feet.ankle[1], feet.footRot[1]);
    return right <= PLANTED_TOLERANCE && left <= PLANTED_TOLERANCE;
}

}  // namespace

bool moveBodyPlanted(Person& p, const float wanted[3], const PlantedFeet& feet) {
    const float from[3] = {p.position[0], p.position[1], p.position[2]};
    if (placeBody(p, wanted, feet)) return true;
    // Halve the way between the last good place and the wanted one.
    double good = 0, bad = 1;
    for (int i = 0; i < 20; i++) {
        const double mid = (good + bad) / 2;
        float at[3];
        for (int k = 0; k < 3; k++) at[k] = static_cast<float>(from[k] + (wanted[k] - from[k]) * mid);
        if (placeBody(p, at, feet)) good = mid; else bad = mid;
    }
    float at[3];
    for (int k = 0; k < 3; k++) at[k] = static_cast<float>(from[k] + (wanted[k] - from[k]) * good);
    placeBody(p, at, feet);
    return false;
}
