// pose_drag.cpp - following the pointer in the plane that faces the view.
#include "edit/pose_drag.h"

#include <cmath>

#include "figure/person.h"

bool isPoseDragPart(int part) { return limbOfPart(part) >= 0 || movesBody(part); }

namespace {

// Where the ray meets the plane through `through` with normal `n`.
bool meetPlane(const PickRay& ray, const double through[3], const double n[3], double out[3]) {
    double along = 0, gap = 0;
    for (int k = 0; k < 3; k++) {
        along += ray.dir[k] * n[k];
        gap += (through[k] - ray.origin[k]) * n[k];
    }
    if (std::fabs(along) < 1e-6) return false;
    const double t = gap / along;
    for (int k = 0; k < 3; k++) out[k] = ray.origin[k] + ray.dir[k] * t;
    return true;
}

}  // namespace

bool beginPoseDrag(PoseDrag& d, Person& p, int person, int part, const PickRay& ray, float hitDistance,
                   const float viewDirection[3]) {
    d.active = false;
    if (!isPoseDragPart(part)) return false;
    d.person = person;
    d.part = part;
    d.limb = limbOfPart(part);
    double len = 0;
    for (int k = 0; k < 3; k++) {
        d.grab[k] = ray.origin[k] + static_cast<double>(ray.dir[k]) * hitDistance;
        d.normal[k] = viewDirection[k];
        len += d.normal[k] * d.normal[k];
    }
    len = std::sqrt(len);
    if (len < 1e-9) return false;
    for (double& c : d.normal) c /= len;
    if (d.limb >= 0) {
        const WorldFrame end = partWorldFrame(p, kLimbChains[d.limb].end);
        for (int k = 0; k < 3; k++) d.startEnd[k] = end.pos[k];
        for (int k = 0; k < 9; k++) d.endRotation[k] = end.rot[k];
    } else {
        d.feet = plantFeet(p);
    }
    for (int k = 0; k < 3; k++) d.startPosition[k] = p.position[k];
    d.active = true;
    return true;
}

bool movePoseDrag(PoseDrag& d, Person& p, const PickRay& ray) {
    if (!d.active) return false;
    double at[3];
    if (!meetPlane(ray, d.grab, d.normal, at)) return false;
    double moved[3];
    for (int k = 0; k < 3; k++) moved[k] = at[k] - d.grab[k];
    if (d.limb >= 0) {
        double target[3];
        for (int k = 0; k < 3; k++) target[k] = d.startEnd[k] + moved[k];
        solveLimb(p, d.limb, target, d.endRotation);
    } else {
        float wanted[3];
        for (int k = 0; k < 3; k++) wanted[k] = static_cast<float>(d.startPosition[k] + moved[k]);
        moveBodyPlanted(p, wanted, d.feet);
    }
    return true;
}
