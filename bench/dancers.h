// dancers.h - the stage the frame benchmark and the soak run measure: n
// figures dancing the lawnmower where they stand, in a loop, trails on or off.
#pragma once

#include "core/app_state.h"

// The trail follows the position animator's keyframes, and the lawnmower
// file carries none (its dancers stay where they stand), so each figure gets
// a standing position keyframe per dance keyframe: the trail then shows a
// copy of every pose within reach of the fade.
inline void setUpDancers(int n, bool trails) {
    app.numPersons = n;
    app.selectedPerson = 0;
    for (int i = 0; i < MAX_PERSONS; i++) {
        Person& p = app.persons[i];
        if (p.part[TORSO].kfa.numKeyFrames == 0) {
            p.loadAnimation("animations/lawnmower.txt");
            const KeyFrameAnimation& torso = p.part[TORSO].kfa;
            for (int k = 0; k < torso.numKeyFrames; k++)
                p.kfaPos.pushKeyFrame(p.position[0], p.position[1], p.position[2], ABS,
                                      static_cast<int>(torso.keyFrames[k].steps));
        }
        p.setShowTrail(trails);
    }
}
