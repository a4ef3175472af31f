// posed_figure.h - the figure's parts where the figure itself puts them.
//
// Retargeting and reduction need the world frames of the figure's parts for
// poses no figure on the stage holds, and for what its animators play. There
// is no second forward-kinematics pass for that: a private Person of the
// figure's shape takes the pose, and its part matrices
// (Person::computePartTransform) multiplied down the tree
// (skeleton::modelMatrices) are the very ones the figure is drawn with. What
// is measured here is what is shown. GL-free.
#pragma once

#include <memory>

#include "mocap/mocap_math.h"

class Person;

// The figure's proportions and present pose: what the motion is fitted to.
// Parts nothing drives (the hand items) keep their present angles.
struct FigureShape {
    float jointOffset[20][3] = {};
    float length[20] = {};
    float rotation[20][3] = {};
    float position[3] = {};
};
FigureShape shapeOf(const Person& p);

// World frames of the figure's parts: where each joint is and how the part
// is turned (its columns are the part's x, y, z axes).
struct FigureFrames {
    Vec3 at[20];
    Mat3 turn[20];
};

// The frames of `p`'s parts as its part matrices stand.
void framesOf(const Person& p, FigureFrames& out);

class PosedFigure {
public:
    explicit PosedFigure(const FigureShape& shape);
    ~PosedFigure();
    PosedFigure(const PosedFigure&) = delete;
    PosedFigure& operator=(const PosedFigure&) = delete;

    // The figure at `position` with the 20 angle triples `angles`.
    void frames(const float* position, const float* angles, FigureFrames& out);
    // The figure as its animators play at time t (steps): each animator
    // evaluated as a frame step evaluates it, without asking for a redraw.
    void played(float t, FigureFrames& out);
    // Back to the shape's own pose: where a new queue of keyframes starts.
    void restorePose();
    // Its animators are loaded through this.
    Person& person() { return *person_; }

private:
    FigureShape shape_;
    std::unique_ptr<Person> person_;
};
