// pose_edit.cpp - copy, paste, mirror, standing reset and exact values.
#include "edit/pose_edit.h"

#include <cmath>
#include <cstdio>

namespace {

// Right and left twins; every other part is a middle part.
constexpr int kTwins[][2] = {
    {RUA, LUA}, {RLA, LLA}, {RH, LH}, {RUL, LUL}, {RLL, LLL}, {RF, LF}, {RHI, LHI},
};

// -x without ever giving -0: 0 stays +0, so no file shows "-0".
float negated(float v) { return v == 0 ? 0.0f : -v; }

float clampTo(float v, float lo, float hi) {
    if (!(v == v)) return lo < 0 && hi > 0 ? 0 : lo;  // NaN: the middle of the range
    return v < lo ? lo : (v > hi ? hi : v);
}

}  // namespace

int mirrorPartOf(int part) {
    for (const auto& t : kTwins) {
        if (t[0] == part) return t[1];
        if (t[1] == part) return t[0];
    }
    return part;
}

PoseCopy copyPose(const Person& p) {
    PoseCopy c;
    for (int i = 0; i < BODY_PART_COUNT; i++)
        for (int k = 0; k < 3; k++) c.rotation[i][k] = p.part[i].rotation[k];
    return c;
}

PoseCopy mirroredPose(const PoseCopy& pose) {
    PoseCopy m;
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        const float* from = pose.rotation[mirrorPartOf(i)];
        m.rotation[i][0] = from[0];
        m.rotation[i][1] = negated(from[1]);
        m.rotation[i][2] = negated(from[2]);
    }
    return m;
}

void pastePose(Person& p, const PoseCopy& pose) {
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        for (int k = 0; k < 3; k++) p.part[i].rotation[k] = pose.rotation[i][k];
        p.updateTransform(i);
    }
}

void resetPartToStanding(Person& p, int part) {
    if (part < 0 || part >= BODY_PART_COUNT) return;
    for (int k = 0; k < 3; k++) p.part[part].rotation[k] = standingAngle(part, k);
    p.updateTransform(part);
}

ExactValues exactValuesOf(const Person& p, int part) {
    ExactValues v;
    v.part = (part >= 0 && part < BODY_PART_COUNT) ? part : 0;
    const BodyPart& b = p.part[v.part];
    for (int k = 0; k < 3; k++) {
        v.angle[k] = b.rotation[k];
        v.minAngle[k] = b.limitsOn ? b.minRotation[k] : -360;
        v.maxAngle[k] = b.limitsOn ? b.maxRotation[k] : 360;
    }
    v.x = p.position[0];
    v.z = p.position[2];
    v.heading = p.part[ROOT].rotation[1];
    return v;
}

void applyExactValues(Person& p, const ExactValues& shown, const ExactValues& typed) {
    BodyPart& b = p.part[shown.part];
    for (int k = 0; k < 3; k++) b.rotation[k] = clampTo(typed.angle[k], shown.minAngle[k], shown.maxAngle[k]) + 0.0f;
    p.updateTransform(shown.part);
    if (shown.part != ROOT || typed.heading != shown.heading) {
        p.part[ROOT].rotation[1] = clampTo(typed.heading, -360, 360) + 0.0f;
        p.updateTransform(ROOT);
    }
    p.position[0] = clampTo(typed.x, -EXACT_POSITION_LIMIT, EXACT_POSITION_LIMIT) + 0.0f;
    p.position[2] = clampTo(typed.z, -EXACT_POSITION_LIMIT, EXACT_POSITION_LIMIT) + 0.0f;
    p.updateTransform(ROOT);
}

int headingDegrees(const Person& p) {
    const double h = std::fmod(std::round(static_cast<double>(p.part[ROOT].rotation[1])), 360.0);
    return static_cast<int>(h < 0 ? h + 360 : h);
}

namespace {
// Two decimals; a value that rounds to zero shows as 0.00, not -0.00.
std::string twoDecimals(float v) {
    double r = std::round(static_cast<double>(v) * 100) / 100;
    if (r == 0 || !(r == r)) r = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", r);
    return text;
}
}  // namespace

std::string positionText(const Person& p) {
    return twoDecimals(p.position[0]) + ", " + twoDecimals(p.position[2]) + "  heading " +
           std::to_string(headingDegrees(p));
}
