// scene_time.h - the scene's one time line: every figure in use, the camera
// track and the light, put back to their start or played together.
//
// GL-free. "Time 0" is the start of an animator's first pass: its loop count
// is cleared, so keyframe 0 is reached from the origin again, as on the
// first play after loading.
#pragma once

class KeyFrameAnimation;
class Person;

// One animator back at time 0 of its first pass (value evaluated there).
void rewindAnimator(KeyFrameAnimation& a);
// A figure's 21 animators at time 0, its pose following.
void rewindFigure(Person& p);

// Ctrl+Home: every figure in use, the camera track and the light at time 0;
// the figures and the camera track paused there.
void rewindScene();
// Ctrl+Return: every figure in use plays from where it stands, and the
// camera track with them when it holds keyframes.
void playScene();
// What a film starts from: the whole scene at time 0, playing.
void startSceneFromZero();

// The scene's time in steps, as the head-up text shows it: the time of the
// selected figure, or of the first figure with keyframes, or of the camera
// track; 0 when nothing is keyed.
float sceneTime();
// Whether the camera's own track holds keyframes.
bool cameraTrackKeyed();
