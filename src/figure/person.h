// person.h - the articulated figure: a Person and its 20 BodyParts.
//
// A Person is a fixed tree of 20 body parts hanging from ROOT, which carries
// the figure's world position. Every part extends from its joint along its
// own local +y axis and turns about that joint by three angles (degrees,
// applied z, then y, then x). The figure faces +z; its right side is -x.
//
// Where the members live:
//   person.cpp          skeleton, proportions, joints, pose, limits, textures
//   person_pose.cpp     part matrices, per-frame step, posing operations
//   person_commands.cpp the small operations behind keys and menus
//   person_draw.cpp     drawing (GL)
//   skeleton.h          the part tree and the forward-kinematics pass
//   part_shapes.h       the shapes each part is drawn with
//   io/animation_file.cpp, io/code_export.cpp  load, save, code export
//
// The model half is GL-free: part matrices are computed in float arithmetic.
#pragma once

#include <string>

#include "anim/keyframe_animation.h"
#include "figure/figure_fields.h"
#include "figure/figure_limits.h"
#include "figure/textured_box.h"

struct GLUquadric;
struct FigureView;

// What the figure drawing is given by the scene, so it reads no global
// settings: whether textures and wireframe are on, and the quadric GLU's
// shapes are drawn with (null: the drawing makes one of its own).
struct FigureDrawSettings {
    bool texturesOn = true;
    bool wireframeOn = false;
    GLUquadric* quadric = nullptr;
    // The selected part shows yellow in the window; films leave out the
    // editing aids, so a film frame draws without it.
    bool selectionHighlight = true;
};

// The kept fields (length, radius, rotation, joint offset, limits, texture)
// come from PartFields; the members here are the animator and what the
// skeleton and the pose derive.
class BodyPart : public PartFields {
public:
    KeyFrameAnimation kfa;
    float transform[16] = {0};
    std::string label;
    int index = 0;

    BodyPart();
    BodyPart(const BodyPart&) = delete;
    BodyPart& operator=(const BodyPart&) = delete;

    void setSize(float len, float rad) { length = len; radius = rad; }
    void setRotation(float x, float y, float z);
    void setLimits(float minX, float maxX, float minY, float maxY, float minZ, float maxZ);
    void setJointOffset(float x, float y, float z);
    void setTexture(int slot) { texture = slot; }
    void setHierarchy(const std::string& lbl, int idx);
    void seedAnimator();

    // Pose (person_pose.cpp).
    void applyAnimator();
    void addRotation(float delta, int axis);
};

// The kept scalar fields (sex, scale, skin, colour, position, items, trail,
// selection) come from FigureFields: a new one is a line in figure_fields.h.
class Person : public FigureFields {
public:
    BodyPart part[BODY_PART_COUNT];
    KeyFrameAnimation kfaPos;
    TexturedBox torsoBox;               // follows from sex and skin; undo keeps it

    Person();
    Person(const Person&) = delete;
    Person& operator=(const Person&) = delete;

    // ---- skeleton and proportions (person.cpp)
    void reset();
    void setPosition(float x, float y, float z);
    void setGender(bool male, float newScale);
    void setSkin(int newSkin);
    void setColour(float r, float g, float b);
    void layoutJoints();
    void setDefaultPose();
    void applyTextures();
    void clearAllKeyFrames();
    void setCycle(bool on);
    void seedPositionAnimator();

    // ---- pose update and posing (person_pose.cpp)
    void computePartTransform(int i);
    void updateTransform(int i);
    void applyPositionAnimator();
    void stepAnimationBy(float dt);  // advances by dt steps: the play rate, or its wall-clock share
    void poseAtKeyFrame(int j);
    void poseAtTime(float t);
    void setAnimate(bool flag) { animating = flag; }
    void rotateSelectedPart(int degrees, int axis);
    void turnFigure(float degrees, int axis);
    void moveForward(float distance, int axis);
    void moveAlongHeading(float distance, float angleOffset, int axis);
    void movePosition(float delta, int axis);

    // ---- key and menu operations (person_commands.cpp)
    void selectPart(int idx);
    void stepSelectedPart(int delta);
    void setMale(bool flag);
    void setScale(float value);
    void setLeftHandItem(int n);
    void setRightHandItem(int n);
    void cycleLeftHandItem(int delta);
    void cycleRightHandItem(int delta);
    void setShowTrail(bool flag) { showTrail = flag; }
    void pushPoseKeyFrame(float steps);

    // ---- drawing (person_draw.cpp)
    void draw(const FigureDrawSettings& settings);
    void drawBodyPart(int idx, const FigureDrawSettings& settings);
    // One copy in the present pose, every part; with a view (the fast
    // path), left out when out of sight, `reach` being partReaches'
    // (figure_view.h), and parts an earlier copy drew the same left out.
    void drawCopy(const FigureView* view, float maxErrorPx, const FigureDrawSettings& settings,
                  const float* reach = nullptr);

    // ---- animation files (io/)
    // F5's load words a missing file "ERROR: text file not found"; the
    // program's own loads (built-in scenes, the render's input) name it.
    bool loadAnimation(const char* path, bool nameMissingFile = false);
    bool saveAnimation(const char* path);
    void exportAnimationCode(std::string prefix);
};
