// person.cpp - skeleton, proportions, joint layout, standing pose, joint
// limits and clothing of a Person.
//
// Sections (search "[SECTION]"):
//   Tables (proportions, limits, standing pose; the tree is skeleton.cpp's)
//   BodyPart
//   Person
#include "figure/person.h"

#include "gfx/texture_slots.h"

// [SECTION] Tables

const char* const kBodyPartLabels[BODY_PART_COUNT] = {
    "ROOT", "TORSO", "STOMK", "PELVIS", "NECK", "HEAD",
    "RUA", "LUA", "RLA", "LLA", "RH", "LH",
    "RUL", "LUL", "RLL", "LLL", "RF", "LF",
    "LHI", "RHI",
};

namespace {

// (length, radius) before scaling, for parts 0 to 17.
struct Size { float length, radius; };
constexpr Size kMaleSizes[18] = {
    {0.5f, 0.5f}, {2, 1}, {2, 0.85f}, {1.2f, 0.9f}, {0.6f, 0.4f}, {1.3f, 1},
    {3, 0.5f}, {3, 0.5f}, {2, 0.5f}, {2, 0.5f}, {1, 0.3f}, {1, 0.3f},
    {3, 0.5f}, {3, 0.5f}, {2.3f, 0.5f}, {2.3f, 0.5f}, {1, 0.3f}, {1, 0.3f},
};
constexpr Size kFemaleSizes[18] = {
    {0.5f, 0.5f}, {1.9f, 0.8f}, {1.7f, 0.7f}, {1.2f, 0.95f}, {0.6f, 0.35f}, {1.3f, 1},
    {3, 0.45f}, {3, 0.45f}, {1.9f, 0.4f}, {1.9f, 0.4f}, {0.8f, 0.27f}, {0.8f, 0.27f},
    {2.9f, 0.4f}, {2.9f, 0.4f}, {2.2f, 0.35f}, {2.2f, 0.35f}, {0.7f, 0.3f}, {0.7f, 0.3f},
};

// Joint limits: min and max per axis, in setLimits order.
struct Limits { float minX, maxX, minY, maxY, minZ, maxZ; };
constexpr Limits kLimits[BODY_PART_COUNT] = {
    {-360, 360, -360, 360, -360, 360},  // ROOT
    {-10, 10, -10, 10, -10, 10},        // TORSO
    {-45, 45, -35, 35, -35, 35},        // STOMK
    {-20, 20, -20, 20, -20, 20},        // PELVIS
    {-30, 30, -30, 30, -10, 10},        // NECK
    {-40, 40, -40, 40, -10, 10},        // HEAD
    {-20, 250, -5, 5, -30, 90},         // RUA
    {-20, 250, -5, 5, -90, 30},         // LUA
    {-160, 0, -90, 90, -90, 20},        // RLA
    {-160, 0, -90, 90, -20, 90},        // LLA
    {-30, 90, -5, 5, -30, 30},          // RH
    {-30, 90, -5, 5, -30, 30},          // LH
    {40, 250, -5, 5, -8, 45},           // RUL
    {40, 250, -5, 5, -45, 8},           // LUL
    {0, 160, -5, 5, -8, 8},             // RLL
    {0, 160, -5, 5, -8, 8},             // LLL
    {-120, 0, -5, 5, -20, 20},          // RF
    {-120, 0, -5, 5, -20, 20},          // LF
    {-360, 360, -360, 360, -360, 360},  // LHI
    {-360, 360, -360, 360, -360, 360},  // RHI
};

// Standing pose: x angle of each part; y and z are 0.
constexpr float kStandingX[BODY_PART_COUNT] = {
    0, 0, 0, 0, 0, 0, 170, 170, 0, 0, 10, 10, 180, 180, 0, 0, -90, -90, 0, 0,
};

}  // namespace

// [SECTION] BodyPart

BodyPart::BodyPart() {
    length = 0;
    radius = 0;
    setRotation(0, 0, 0);
    setLimits(-360, 360, -360, 360, -360, 360);
    limitsOn = true;
    texture = 0;
}

void BodyPart::setRotation(float x, float y, float z) {
    rotation[0] = x; rotation[1] = y; rotation[2] = z;
    seedAnimator();
}

void BodyPart::setLimits(float minX, float maxX, float minY, float maxY, float minZ, float maxZ) {
    minRotation[0] = minX; maxRotation[0] = maxX;
    minRotation[1] = minY; maxRotation[1] = maxY;
    minRotation[2] = minZ; maxRotation[2] = maxZ;
}

void BodyPart::setJointOffset(float x, float y, float z) {
    jointOffset[0] = x; jointOffset[1] = y; jointOffset[2] = z;
}

void BodyPart::setHierarchy(const std::string& lbl, int idx) {
    label = lbl;
    index = idx;
}

void BodyPart::seedAnimator() {
    kfa.setValue(rotation[0], rotation[1], rotation[2]);
    kfa.setOrigin();
}

// [SECTION] Person

Person::Person() { reset(); }

// The whole person back to a standing male at the origin, scale 1, light
// skin, empty non-cycling animators, no trail, no items.
void Person::reset() {
    selectedPart = 0;
    animating = true;
    showTrail = false;
    trailAlpha = 0.2f;
    trailFade = 0.05f;
    leftHandItem = 0;
    rightHandItem = 0;
    setPosition(0, 0, 0);
    alpha = 1.0f;
    skin = TEX_SKIN_LIGHT;
    clearAllKeyFrames();
    setDefaultPose();
    setGender(true, 1.0f);
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        const Limits& l = kLimits[i];
        part[i].setLimits(l.minX, l.maxX, l.minY, l.maxY, l.minZ, l.maxZ);
    }
    for (int i = 0; i < BODY_PART_COUNT; i++) part[i].setHierarchy(kBodyPartLabels[i], i);
    layoutJoints();
    applyTextures();
    for (int i = 0; i < BODY_PART_COUNT; i++) computePartTransform(i);
}

void Person::setPosition(float x, float y, float z) {
    position[0] = x; position[1] = y; position[2] = z;
}

// Table values are written first on every call, so repeated calls with a
// scale do not compound.
void Person::setGender(bool male, float newScale) {
    isMale = male;
    scale = newScale;
    if (male) setColour(0, 0, 1); else setColour(1, 0, 0);
    const Size* sizes = male ? kMaleSizes : kFemaleSizes;
    for (int i = 0; i < 18; i++) part[i].setSize(sizes[i].length, sizes[i].radius);
    for (int i = 0; i < BODY_PART_COUNT; i++)
        part[i].setSize(scale * part[i].length, scale * part[i].radius);
    applyTextures();
    layoutJoints();
    // New joint offsets move the parts at once, also on a paused figure that
    // no frame step refreshes.
    for (int i = 0; i < BODY_PART_COUNT; i++) computePartTransform(i);
}

void Person::setSkin(int newSkin) {
    if (newSkin == skin) return;
    skin = newSkin;
    applyTextures();
}

void Person::setColour(float r, float g, float b) {
    colour[0] = r; colour[1] = g; colour[2] = b;
}

// Each child sits at the far end of its parent along the parent's +y, except
// the shoulders, hips, head and hand items.
void Person::layoutJoints() {
    auto len = [this](int i) { return static_cast<double>(part[i].length); };
    auto rad = [this](int i) { return static_cast<double>(part[i].radius); };
    auto set = [this](int i, double x, double y, double z) {
        part[i].setJointOffset(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    };
    set(ROOT, position[0], position[1], position[2]);
    set(PELVIS, 0, 0, 0);
    set(STOMK, 0, len(PELVIS), 0);
    set(TORSO, 0, len(STOMK), 0);
    set(NECK, 0, len(TORSO), 0);
    set(HEAD, 0, len(NECK) + 0.2 * len(HEAD), 0);
    set(RUA, -(rad(TORSO) + rad(RUA)), 0.8 * len(TORSO), 0);
    set(LUA, rad(TORSO) + rad(LUA), 0.8 * len(TORSO), 0);
    set(RLA, 0, len(RUA), 0);
    set(LLA, 0, len(LUA), 0);
    set(RH, 0, len(RLA), 0);
    set(LH, 0, len(LLA), 0);
    set(RUL, -rad(PELVIS), 0.1 * len(RUL), 0);
    set(LUL, rad(PELVIS), 0.1 * len(LUL), 0);
    set(RLL, 0, len(RUL), 0);
    set(LLL, 0, len(LUL), 0);
    set(RF, 0, len(RLL), 0);
    set(LF, 0, len(LLL), 0);
    set(LHI, -rad(LH), 0.5 * len(LH), 0);
    set(RHI, rad(RH), 0.5 * len(RH), 0);
}

void Person::setDefaultPose() {
    for (int i = 0; i < BODY_PART_COUNT; i++) part[i].setRotation(kStandingX[i], 0, 0);
}

void Person::applyTextures() {
    const int faceBase = isMale ? TEX_SKIN_LIGHT_FACE_MALE : TEX_SKIN_LIGHT_FACE_FEMALE;
    const int face = (skin == TEX_SKIN_LIGHT) ? faceBase : faceBase + 1;
    const int top = isMale ? TEX_FABRIC_BLACK : TEX_FABRIC_RED;
    part[ROOT].setTexture(top);
    part[PELVIS].setTexture(TEX_FABRIC_BLACK);
    part[STOMK].setTexture(top);
    part[TORSO].setTexture(top);
    if (isMale)
        torsoBox.setFaceTextures(TEX_FABRIC_BLACK_SUIT_FRONT, TEX_FABRIC_BLACK, TEX_FABRIC_BLACK,
                                 TEX_FABRIC_BLACK, TEX_FABRIC_BLACK, TEX_FABRIC_BLACK);
    else
        torsoBox.setFaceTextures(TEX_FABRIC_RED, TEX_FABRIC_RED, TEX_FABRIC_RED,
                                 TEX_FABRIC_RED, TEX_FABRIC_RED, TEX_FABRIC_RED);
    part[NECK].setTexture(skin);
    part[HEAD].setTexture(face);
    const int upperArm = isMale ? TEX_FABRIC_BLACK_SUIT_CUFF : skin;
    part[RUA].setTexture(upperArm);
    part[LUA].setTexture(upperArm);
    for (int i : {RLA, LLA, RH, LH}) part[i].setTexture(skin);
    const int leg = isMale ? TEX_FABRIC_BLACK : skin;
    for (int i : {RUL, LUL, RLL, LLL}) part[i].setTexture(leg);
    part[RF].setTexture(TEX_FABRIC_BLACK);
    part[LF].setTexture(TEX_FABRIC_BLACK);
}

// Every animator empty, not cycling, seeded with the present pose so the
// next queue starts from where the figure stands now.
void Person::clearAllKeyFrames() {
    kfaPos.clear();
    seedPositionAnimator();
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        part[i].kfa.clear();
        part[i].seedAnimator();
    }
}

void Person::setCycle(bool on) {
    kfaPos.setCycle(on);
    for (int i = 0; i < BODY_PART_COUNT; i++) part[i].kfa.setCycle(on);
}

void Person::seedPositionAnimator() {
    kfaPos.setValue(position[0], position[1], position[2]);
    kfaPos.setOrigin();
}
