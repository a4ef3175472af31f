// mocap_import.h - a BVH recording into a figure's keyframes.
//
// Read, map, retarget and reduce all happen before the figure is touched: a
// recording that is refused leaves it as it was. A good one replaces the
// figure's keyframes (cycling, as a loaded animation file does) and the
// message says what came in and what was left out:
//   "imported walk.bvh: 31 joints, 8.3 s, 46 keyframes; left out: toes, fingers"
// GL-free.
#pragma once

#include <string>

#include "mocap/bvh_reader.h"
#include "mocap/keyframe_reduction.h"

class Person;

// What an import did, for the message and the tests.
struct MocapImport {
    BvhClip clip;
    RigMap map;
    RetargetedMotion motion;
    ReducedClip keys;
    int leadInSteps = 0;  // the first keyframe's steps: the glide into the clip

    // When the clip's first frame plays, in animator steps.
    float clipStart() const { return static_cast<float>(leadInSteps - (keys.times.empty() ? 0 : keys.times[0])); }
};

// Reads, maps, retargets and reduces `text` for `person`'s proportions.
// False with `error` set when the recording is refused.
bool prepareMocap(const std::string& text, const Person& person, MocapImport& out, std::string& error);

// Replaces the person's keyframes with the prepared ones.
void applyMocap(Person& person, const MocapImport& prepared);

// The file through the safe reader, prepared and applied. `message` is the
// line for the user either way: "imported ..." or "could not import ...: why".
bool importMocapFile(Person& person, const std::string& path, std::string& message);
