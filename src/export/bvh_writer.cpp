// bvh_writer.cpp - writing the hierarchy by walking the part tree, and one
// motion line per frame in the same order.
#include "export/bvh_writer.h"

#include <cstdio>

#include "figure/person.h"

namespace {

// Parts without length (the hand items) still get an end a little along
// their +y, so importers make a bone with a direction.
constexpr float kStubLength = 0.2f;

void appendf(std::string& out, const char* format, double a, double b, double c) {
    char line[128];
    std::snprintf(line, sizeof line, format, a, b, c);
    out += line;
}

void writeJoint(const Person& p, const BodyPart& part, int depth, std::string& out, int* order,
                int& count) {
    const std::string pad(static_cast<std::size_t>(depth) * 2, ' ');
    order[count++] = part.index;
    if (depth == 0) {
        out += "ROOT " + part.label + "\n{\n";
        out += "  OFFSET 0.00000 0.00000 0.00000\n";
        out += "  CHANNELS 6 Xposition Yposition Zposition Xrotation Yrotation Zrotation\n";
    } else {
        out += pad + "JOINT " + part.label + "\n" + pad + "{\n";
        appendf(out, (pad + "  OFFSET %.5f %.5f %.5f\n").c_str(), part.jointOffset[0],
                part.jointOffset[1], part.jointOffset[2]);
        out += pad + "  CHANNELS 3 Xrotation Yrotation Zrotation\n";
    }
    if (part.firstChild) {
        for (const BodyPart* c = part.firstChild; c; c = c->nextSibling)
            writeJoint(p, *c, depth + 1, out, order, count);
    } else {
        const float end = part.length > 0 ? part.length : kStubLength;
        out += pad + "  End Site\n" + pad + "  {\n";
        appendf(out, (pad + "    OFFSET %.5f %.5f %.5f\n").c_str(), 0, end, 0);
        out += pad + "  }\n";
    }
    out += pad + "}\n";
}

}  // namespace

void BvhRecorder::begin(const Person& p) {
    hierarchy_ = "HIERARCHY\n";
    motion_.clear();
    frames_ = 0;
    joints_ = 0;
    writeJoint(p, p.part[ROOT], 0, hierarchy_, order_, joints_);
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
