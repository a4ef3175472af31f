// bvh_writer.h - one figure's motion as BVH, the text motion-capture format
// animation packages import.
//
// The HIERARCHY is the figure's 20-part tree under the parts' own labels;
// each OFFSET is the joint layout at the figure's scale; End Sites close the
// head, feet and hand items. The channels reproduce how a part's matrix is
// composed: T x Rx x Ry x Rz, so the root lists positions then X, Y, Z
// rotations, every other joint its X, Y, Z rotations, values in degrees as
// the pose holds them. GL-free.
#pragma once

#include <string>

class Person;

class BvhRecorder {
public:
    // Takes the hierarchy and offsets from the figure as it stands now.
    void begin(const Person& p);
    // Appends the figure's present pose as one MOTION frame.
    void addFrame(const Person& p);
    int frames() const { return frames_; }
    // The whole file, with `frameTime` seconds between frames.
    std::string text(double frameTime) const;

private:
    std::string hierarchy_, motion_;
    int order_[20] = {};  // part indices in the order the HIERARCHY names them
    int joints_ = 0;
    int frames_ = 0;
};
