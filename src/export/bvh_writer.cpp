// bvh_writer.cpp - writing the hierarchy from the skeleton table, and one
// motion line per frame in the same order.
#include "export/bvh_writer.h"

#include <cstdio>

#include "figure/person.h"
#include "figure/skeleton.h"

namespace {

// Parts without length (the hand items) still get an end a little along
// their +y, so importers make a bone with a direction.
constexpr float kStubLength = 0.2f;

void appendf(std::string& out, const char* format, double a, double b, double c) {
    char line[128];
    std::snprintf(line, sizeof line, format, a, b, c);
    out += line;
}

void openJoint(const BodyPart& part, int depth, std::string& out) {
    const std::string pad(static_cast<std::size_t>(depth) * 2, ' ');
    if (depth == 0) {
        out += "ROOT " + part.label + "\n{\n";
        out += "  OFFSET 0.00000 0.00000 0.00000\n";
        out += "  CHANNELS 6 Xposition Yposition Zposition Xrotation Yrotation Zrotation\n";
        return;
    }
    out += pad + "JOINT " + part.label + "\n" + pad + "{\n";
    appendf(out, (pad + "  OFFSET %.5f %.5f %.5f\n").c_str(), part.jointOffset[0], part.jointOffset[1],
            part.jointOffset[2]);
    out += pad + "  CHANNELS 3 Xrotation Yrotation Zrotation\n";
}

void endSite(const BodyPart& part, int depth, std::string& out) {
    const std::string pad(static_cast<std::size_t>(depth) * 2, ' ');
    const float end = part.length > 0 ? part.length : kStubLength;
    out += pad + "  End Site\n" + pad + "  {\n";
    appendf(out, (pad + "    OFFSET %.5f %.5f %.5f\n").c_str(), 0, end, 0);
    out += pad + "  }\n";
}

void closeJoint(int depth, std::string& out) { out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + "}\n"; }

// The joints in the skeleton's depth-first order, which is also the order
// of the motion lines: a joint is closed when the next one is not below it.
void writeHierarchy(const Person& p, std::string& out, int* order, int& count) {
    int open[BODY_PART_COUNT];
    int depth = 0;
    for (int k = 0; k < BODY_PART_COUNT; k++) {
        const int i = skeleton::kOrder[k];
        while (depth > 0 && open[depth - 1] != skeleton::kParent[i]) closeJoint(--depth, out);
        order[count++] = i;
        openJoint(p.part[i], depth, out);
        if (skeleton::firstChild(i) < 0) {
            endSite(p.part[i], depth, out);
            closeJoint(depth, out);
        } else {
            open[depth++] = i;
        }
    }
    while (depth > 0) closeJoint(--depth, out);
}

}  // namespace

void BvhRecorder::begin(const Person& p) {
    hierarchy_ = "HIERARCHY\n";
    motion_.clear();
    frames_ = 0;
    joints_ = 0;
    writeHierarchy(p, hierarchy_, order_, joints_);
}

void BvhRecorder::addFrame(const Person& p) {
    appendf(motion_, "%.5f %.5f %.5f", p.position[0], p.position[1], p.position[2]);
    for (int j = 0; j < joints_; j++) {
        const float* r = p.part[order_[j]].rotation;
        appendf(motion_, " %.5f %.5f %.5f", r[0], r[1], r[2]);
    }
    motion_ += "\n";
    frames_++;
}

std::string BvhRecorder::text(double frameTime) const {
    char head[96];
    std::snprintf(head, sizeof head, "MOTION\nFrames: %d\nFrame Time: %.6f\n", frames_, frameTime);
    return hierarchy_ + head + motion_;
}
