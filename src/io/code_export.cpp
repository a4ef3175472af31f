// code_export.cpp - the animation rendered as source statements.
//
// Every save also writes "_CODE_OUTPUT.txt" in the working folder: calls that,
// pasted into a function with a person `p`, rebuild the saved animation the
// way the coded choreographies are written. Keyframes are taken exactly as
// the file writer takes them (count from TORSO, slot i of every animator).
#include <cstdio>
#include <locale>
#include <ostream>
#include <sstream>

#include "figure/person.h"
#include "io/animation_file.h"
#include "base/safe_file.h"

const char* const kCodeOutputFileName = "_CODE_OUTPUT.txt";

void writeAnimationCode(const Person& person, const std::string& prefix, std::ostream& out) {
    int n = person.part[TORSO].kfa.numKeyFrames;
    if (n < 0) n = 0;
    if (n > KEYFRAME_CAPACITY) n = KEYFRAME_CAPACITY;

    out << "int speed = 20;\n"
        << '\n'
        << prefix << "clearAllKeyFrames();\n"
        << prefix << "setCycle(true);\n"
        << '\n';
    for (int i = 0; i < n; i++) {
        const KeyFrame& pos = person.kfaPos.keyFrames[i];
        out << '\n'
            << "speed=" << person.part[TORSO].kfa.keyFrames[i].steps << ";\n"
            << prefix << "kfaPos.pushKeyFrame(" << pos.x << ',' << pos.y << ',' << pos.z
            << ",REL,speed);\n";
        for (int p = 0; p < BODY_PART_COUNT; p++) {
            const KeyFrame& k = person.part[p].kfa.keyFrames[i];
            out << prefix << "part[" << person.part[p].label << "].kfa.pushKeyFrame(" << k.x << ','
                << k.y << ',' << k.z << ",ABS,speed);\n";
        }
    }
}

// A failed export only warns, and leaves the previous export whole: the
// animation file itself still gets saved.
void Person::exportAnimationCode(std::string prefix) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    writeAnimationCode(*this, prefix, out);
    std::string error;
    if (!writeFileAtomically(kCodeOutputFileName, out.str(), error)) {
        std::printf("WARNING: could not write '%s'\n", kCodeOutputFileName);
        std::fflush(stdout);
    }
}
