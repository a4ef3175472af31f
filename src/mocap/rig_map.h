// rig_map.h - which of a recording's joints drive which of the figure's parts.
//
// Rigs name their bones differently, and the same word means different bones
// in different rigs (CMU's LeftShoulder is the upper arm, a game rig's the
// collarbone). So names find only the ends of the chains (hands, feet, head,
// neck) and their side; the chain decides the rest: the elbow is the hand's
// parent, the upper arm the elbow's, the hips where the two legs meet, the
// spine everything between hips and neck. Joints of zero length are skipped.
// GL-free.
#pragma once

#include <string>
#include <vector>

#include "mocap/bvh_reader.h"
#include "mocap/mocap_math.h"

// A point of the recording: joint j is j, the End Site of joint j is
// joints.size() + j.
struct Segment {
    int from = -1;        // a joint
    int to = -1;          // a point; -1: along `restDir` turned with `from`
    Vec3 restDir;         // fallback direction in the rest pose
    int twistJoint = -1;  // the joint whose turning carries `twist`
    Vec3 twist;           // in that joint's frame: where the part's x axis points
};

struct RigMap {
    int hips = -1;
    int leftThigh = -1, rightThigh = -1;      // their positions give the hips' side axis
    int leftShoulder = -1, rightShoulder = -1;  // the upper arms' joints, the chest's
    Segment part[20];     // by part index; ROOT and the hand items unused
    bool used[20] = {};
    double legLength = 0; // thigh + shin in the recording's units, rest pose
    Vec3 restUp, restSide;  // the performer's up and left in the rest pose
    std::vector<std::string> leftOut;  // kinds of joints nothing follows: "toes", "fingers", ...
};

// Positions of every point (joints, then End Sites) in the rest pose.
std::vector<Vec3> restPoints(const BvhClip& clip);

// Finds the chains. False with `error` when the recording lacks a head, two
// hands or two feet, or the legs do not meet.
bool mapRig(const BvhClip& clip, RigMap& map, std::string& error);

// The name without any "prefix:" and in lower case.
std::string plainJointName(const std::string& name);
