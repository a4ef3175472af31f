// bvh_reader.h - reading a BVH motion-capture recording.
//
// A recording is a tree of joints (each an OFFSET from its parent, some
// rotation and position CHANNELS in any order, End Sites closing the chains)
// and one MOTION line per frame holding every channel in the order the
// HIERARCHY lists them. The reader takes LF and CRLF line ends and keeps the
// values as written: axes, units and rest pose are the retargeting's business.
// A damaged file is refused whole, with the line that gave it away. GL-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint64_t kMaxBvhFileBytes = 256ull << 20;

enum class BvhChannel : unsigned char { Xpos, Ypos, Zpos, Xrot, Yrot, Zrot };

struct BvhJoint {
    std::string name;      // as written, prefix ("mixamorig:") and all
    int parent = -1;       // index of the parent joint; -1 for the root
    double offset[3] = {0, 0, 0};
    int firstChannel = 0;  // where this joint's values start in a frame
    int channelCount = 0;
    BvhChannel channels[6] = {};
    bool hasEnd = false;   // an End Site closes this joint
    double endOffset[3] = {0, 0, 0};
};

struct BvhClip {
    std::vector<BvhJoint> joints;  // parents before children
    int frames = 0;
    double frameTime = 0;          // seconds between frames
    int channelsPerFrame = 0;
    std::vector<float> values;     // frames x channelsPerFrame

    const float* frame(int f) const { return values.data() + static_cast<std::size_t>(f) * channelsPerFrame; }
};

// Parses BVH text. False with `error` ("line 12: ...") on anything damaged.
bool readBvhText(const std::string& text, BvhClip& clip, std::string& error);

// True when the file name ends in ".bvh", in any case.
bool isBvhFileName(const std::string& path);
