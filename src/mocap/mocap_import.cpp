// mocap_import.cpp - the steps of an import, and its message.
#include "mocap/mocap_import.h"

#include <cstdio>

#include "figure/person.h"
#include "base/safe_file.h"

namespace {

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string describe(const std::string& name, const MocapImport& m) {
    char head[160];
    const double seconds = (m.clip.frames - 1) * m.clip.frameTime;
    std::snprintf(head, sizeof head, "imported %s: %d joints, %.1f s, %d keyframes", name.c_str(),
                  static_cast<int>(m.clip.joints.size()), seconds, static_cast<int>(m.keys.times.size()));
    std::string text = head;
    if (m.keys.thinned) {
        char thin[64];
        std::snprintf(thin, sizeof thin, " (thinned to fit: up to %.1f deg off)", m.keys.worstDegrees);
        text += thin;
    }
    if (!m.map.leftOut.empty()) {
        text += "; left out: ";
        for (std::size_t i = 0; i < m.map.leftOut.size(); i++) text += (i ? ", " : "") + m.map.leftOut[i];
    }
    return text;
}

}  // namespace

bool prepareMocap(const std::string& text, const Person& person, MocapImport& out, std::string& error) {
    if (!readBvhText(text, out.clip, error)) return false;
    if (!mapRig(out.clip, out.map, error)) return false;
    const FigureShape shape = shapeOf(person);
    out.motion = retarget(out.clip, out.map, shape);
    out.keys = reduceToKeyFrames(sampleAtSteps(out.motion), shape, KEYFRAME_CAPACITY);
    out.leadInSteps = kLeadInSteps;
    return true;
}

void applyMocap(Person& person, const MocapImport& m) {
    pushClipKeyFrames(person, m.keys.times.data(), m.keys.values.data(), static_cast<int>(m.keys.times.size()),
                      m.leadInSteps);
}

bool importMocapFile(Person& person, const std::string& path, std::string& message) {
    const std::string name = baseName(path);
    std::string text, error;
    MocapImport m;
    if (!readFileSafely(path, kMaxBvhFileBytes, text, error) || !prepareMocap(text, person, m, error)) {
        message = "could not import " + name + ": " + error;
        return false;
    }
    applyMocap(person, m);
    message = describe(name, m);
    return true;
}
