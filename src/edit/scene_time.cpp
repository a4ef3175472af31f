// scene_time.cpp - rewinding and playing the whole scene together.
#include "edit/scene_time.h"

#include "core/app_state.h"
#include "edit/keyframe_edit.h"

// A queue never played from its start has no origin yet: it then starts on
// its first keyframe, not wherever it happens to stand now.
void rewindAnimator(KeyFrameAnimation& a) {
    if (!a.originSet && a.numKeyFrames > 0) {
        const KeyFrame& first = a.keyFrames[0];
        a.setValue(first.x, first.y, first.z);
        a.setOrigin();
    }
    a.loopCount = 0;
    a.currentIndex = 0;
    a.currentTime = 0;
    a.segmentTime = 0;
    a.seek(0);
}

void rewindFigure(Person& p) {
    rewindAnimator(p.kfaPos);
    for (BodyPart& b : p.part) rewindAnimator(b.kfa);
    p.poseAtTime(0);
}

bool cameraTrackKeyed() {
    return app.camera.eyeAnim.numKeyFrames > 0 || app.camera.targetAnim.numKeyFrames > 0;
}

namespace {

// The eye goes to the track's start only when it was following the track.
void rewindCameraAndLight() {
    if (cameraTrackKeyed()) {
        rewindAnimator(app.camera.eyeAnim);
        rewindAnimator(app.camera.targetAnim);
        if (app.camera.animationOn) {
            app.camera.copyAnimatedValues();
            app.camera.trackPaused = true;
        }
    }
    rewindAnimator(app.sceneLight);
}

}  // namespace

void rewindScene() {
    for (int i = 0; i < app.numPersons; i++) {
        rewindFigure(app.persons[i]);
        app.persons[i].setAnimate(false);
    }
    // The scene clock is left alone: it only lowers the intro logo.
    rewindCameraAndLight();
}

void playScene() {
    // Every figure in use, keyed or not: one keyed later (a load, a key
    // pressed before a film) plays at once, as a fresh figure does.
    for (int i = 0; i < app.numPersons; i++) app.persons[i].setAnimate(true);
    if (cameraTrackKeyed()) {
        app.camera.setAnimationOn(true);
        app.camera.trackPaused = false;
    }
}

void startSceneFromZero() {
    const bool cameraWasOn = app.camera.animationOn;
    rewindScene();
    playScene();
    // A camera left free stays free: the film sees what the window saw.
    app.camera.setAnimationOn(cameraWasOn && cameraTrackKeyed());
    app.camera.trackPaused = false;
}

float sceneTime() {
    if (app.selectedPerson < app.numPersons && keyFrameCount(app.persons[app.selectedPerson]) > 0)
        return referenceAnimator(app.persons[app.selectedPerson]).currentTime;
    for (int i = 0; i < app.numPersons; i++)
        if (keyFrameCount(app.persons[i]) > 0) return referenceAnimator(app.persons[i]).currentTime;
    if (cameraTrackKeyed()) return app.camera.eyeAnim.currentTime;
    return 0;
}
