// retarget.h - making the figure move as the performer moved.
//
// At every frame each part is turned so that its axis (+y) points along the
// performer's segment, and its x axis (the elbow's and knee's hinge, the
// hips' and shoulders' side) as near as it can to the performer's; the turns
// become the figure's Rx Ry Rz angles, unwrapped so that neighbouring frames
// differ by the short way round. The root follows the hips, scaled so the
// performer's legs are the figure's, with the lowest foot of the clip on the
// floor. GL-free.
#pragma once

#include <string>
#include <vector>

#include "mocap/bvh_reader.h"
#include "mocap/posed_figure.h"
#include "mocap/rig_map.h"

constexpr float kFloorHeight = -5.0f;

// Frame by frame: the figure's position and 20 angle triples.
struct RetargetedMotion {
    int frames = 0;
    double frameTime = 0;
    std::vector<float> position;  // frames x 3
    std::vector<float> angles;    // frames x 20 x 3, degrees

    float* pose(int f) { return angles.data() + static_cast<std::size_t>(f) * 60; }
    const float* pose(int f) const { return angles.data() + static_cast<std::size_t>(f) * 60; }
};

// True when the first frame has the head above the hips along z rather than y.
bool recordedZUp(const BvhClip& clip, const RigMap& map);

// Retargets the whole clip. Never fails on a mapped rig; every angle is finite.
RetargetedMotion retarget(const BvhClip& clip, const RigMap& map, const FigureShape& figure);
