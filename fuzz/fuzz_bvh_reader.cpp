// fuzz_bvh_reader.cpp - arbitrary bytes through the BVH reader and, when they
// read, the whole import: every angle and position the figure is given must
// be finite and every queue within the animators' rules.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "figure/person.h"
#include "mocap/mocap_import.h"
#include "checks.h"

namespace {

void checkFinite(const std::vector<float>& values) {
    for (float v : values) check(std::isfinite(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Person* figure = new Person();
    const std::string text(reinterpret_cast<const char*>(data), size);
    BvhClip clip;
    std::string error;
    if (!readBvhText(text, clip, error)) {
        check(error.rfind("line ", 0) == 0);
        return 0;
    }
    check(clip.values.size() == static_cast<std::size_t>(clip.frames) * clip.channelsPerFrame);
    // Keep each run short: long clips only repeat what short ones reach
    // (half a minute of busy motion already fills the 200 keyframes).
    if (static_cast<double>(clip.frames) * (clip.frameTime + 0.01) > 30) return 0;
    MocapImport m;
    if (!prepareMocap(text, *figure, m, error)) return 0;
    checkFinite(m.motion.angles);
    checkFinite(m.motion.position);
    checkFinite(m.keys.values);
    check(static_cast<int>(m.keys.times.size()) <= KEYFRAME_CAPACITY);
    applyMocap(*figure, m);
    checkQueue(figure->kfaPos);
    for (const BodyPart& part : figure->part) checkQueue(part.kfa);
    return 0;
}
