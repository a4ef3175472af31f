// pose_drag.h - a Ctrl + left drag that poses: a hand or foot (or the lower
// limb above it) moves its limb's end, the pelvis, stomach or chest moves
// the whole figure with its feet planted.
//
// GL-free. The pointer's ray is met with the plane through the grabbed point
// that faces the view; the grabbed point's travel in that plane is what the
// wrist, the ankle or the root travels from where it was at the press.
#pragma once

#include "edit/limb_ik.h"
#include "edit/pick.h"

struct PoseDrag {
    bool active = false;
    int person = 0, part = 0;
    int limb = -1;             // the limb moved, or -1 when the body moves
    double grab[3] = {0, 0, 0};    // the grabbed point at the press
    double normal[3] = {0, 0, 1};  // the drag plane's normal: the view's direction
    double startEnd[3] = {0, 0, 0};  // the wrist or ankle at the press
    double endRotation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float startPosition[3] = {0, 0, 0};
    PlantedFeet feet = {};
};

// True when a drag starting on this part poses (a limb or the body).
bool isPoseDragPart(int part);

// Starts a drag on persons[person].part[part] hit by `ray` at `hitDistance`
// along it, in the plane facing `viewDirection`. False (nothing started) for
// parts that do not pose.
bool beginPoseDrag(PoseDrag& d, Person& p, int person, int part, const PickRay& ray, float hitDistance,
                   const float viewDirection[3]);
// Follows the pointer's new ray. False when the ray runs along the plane.
bool movePoseDrag(PoseDrag& d, Person& p, const PickRay& ray);
