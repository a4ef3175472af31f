// timeline_commands.cpp - keyframe kinds, part keys, scene time, camera keys.
#include "edit/timeline_commands.h"

#include <cmath>
#include <string>

#include "core/app_state.h"
#include "edit/edit_commands.h"
#include "edit/keyframe_edit.h"
#include "edit/scene_time.h"
#include "core/messages.h"

namespace {

Person& selected() { return app.persons[app.selectedPerson]; }

bool needsKeyFrames() {
    if (keyFrameCount(selected()) > 0) return true;
    postMessage(figureName(app.selectedPerson) + " has no keyframes");
    return false;
}

void recordEdit(const std::string& label) {
    noteFigureChange(label, app.selectedPerson);
    markKeyFramesChanged(app.selectedPerson);
}

}  // namespace

// ---------------------------------------------------------------- kinds

void cycleKeyFrameKindCommand() {
    if (!needsKeyFrames()) return;
    const int j = currentKeyFrame(selected());
    recordEdit("keyframe " + std::to_string(j + 1) + " kind");
    cycleKeyFrameKind(selected());
    postMessage("keyframe " + std::to_string(j + 1) + " is " + keyFrameKindName(currentKeyFrameKind(selected())));
}

void applyKindToFigureCommand() {
    if (!needsKeyFrames()) return;
    const char* kind = keyFrameKindName(currentKeyFrameKind(selected()));
    recordEdit(std::string("every keyframe ") + kind);
    applyKindToAllKeyFrames(selected());
    postMessage(std::string("every keyframe of ") + figureName(app.selectedPerson) + " is " + kind);
}

// ---------------------------------------------------------------- one part

void recordPartKeyFrameCommand() {
    Person& p = selected();
    const int part = p.selectedPart;
    const std::string label = kBodyPartLabels[part];
    const float t = std::round(referenceAnimator(p).currentTime);  // where the key lands
    recordEdit(label + " keyframe");
    // The figure stops where it is, so the key is kept at the time it shows.
    p.setAnimate(false);
    switch (recordPartKeyFrame(p, part)) {
    case PartKeyResult::Split:
    case PartKeyResult::Appended:
    case PartKeyResult::Replaced:
        scrubTo(p, t);
        postMessage(label + " keyframe at step " + std::to_string(static_cast<int>(t)));
        return;
    case PartKeyResult::TooClose:
        forgetLastChange();
        postMessage(label + " keyframe not recorded: keyframes are at least 2 steps apart");
        return;
    case PartKeyResult::Full:
        forgetLastChange();
        postMessage(label + " keyframe not recorded: the queue is full");
        return;
    }
}

// ---------------------------------------------------------------- scene time

void rewindSceneCommand() {
    rewindScene();
    postMessage("scene at time 0");
}

void playSceneCommand() {
    playScene();
    postMessage("scene playing");
}

// ---------------------------------------------------------------- camera track

bool recordCameraKeyFrame(Camera& c) {
    KeyFrameAnimation& e = c.eyeAnim;
    KeyFrameAnimation& t = c.targetAnim;
    if (e.numKeyFrames >= KEYFRAME_CAPACITY || t.numKeyFrames >= KEYFRAME_CAPACITY) return false;
    if (e.numKeyFrames == 0 && t.numKeyFrames == 0) {
        // A new track starts from the present view, as a figure's queue does.
        e.clear(); e.setValue(c.eye[0], c.eye[1], c.eye[2]); e.setOrigin();
        t.clear(); t.setValue(c.target[0], c.target[1], c.target[2]); t.setOrigin();
    }
    e.pushKeyFrame(c.eye[0], c.eye[1], c.eye[2], ABS, CAMERA_KEYFRAME_STEPS, KIND_SMOOTH);
    t.pushKeyFrame(c.target[0], c.target[1], c.target[2], ABS, CAMERA_KEYFRAME_STEPS, KIND_SMOOTH);
    e.jumpToKeyFrame(e.numKeyFrames - 1);
    t.jumpToKeyFrame(t.numKeyFrames - 1);
    c.setAnimationOn(true);
    c.trackPaused = true;
    return true;
}

void clearCameraTrack(Camera& c) {
    c.eyeAnim.clear();
    c.targetAnim.clear();
    c.setAnimationOn(false);
    c.trackPaused = false;
}

void recordCameraKeyFrameCommand() {
    if (!recordCameraKeyFrame(app.camera)) {
        postMessage("camera keyframe not recorded: the track is full");
        return;
    }
    postMessage("camera keyframe " + std::to_string(app.camera.eyeAnim.numKeyFrames) + " recorded");
}

void clearCameraTrackCommand() {
    clearCameraTrack(app.camera);
    postMessage("camera track cleared");
}
