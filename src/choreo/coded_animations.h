// coded_animations.h - the built-in choreographies: three camera tours and
// five figure animations.
//
// Each replaces whatever its target had queued, queues a fixed list of
// keyframes and returns at once; the idle and display passes play it. The
// keyframe lists are constexpr tables in coded_animations.cpp. Console texts
// are written without a line end and flushed at once.
#pragma once

class Camera;
class Person;

// Tag the camera tours push with (no operation reads it).
constexpr int CAMERA_TOUR_MODE = 0;

// ---- camera tours: fill camera.eyeAnim / camera.targetAnim, both cycling.
// The caller switches camera.animationOn on; the tours leave it alone.
void ani_cameraRotate(Camera& camera, int steps);    // eye circles the origin, target kept
void ani_cameraFlyBy(Camera& camera);                // long approach from far away
void ani_cameraLowOrbit(Camera& camera, int steps);  // low shots around persons 0 to 2

// ---- figure animations: clear the person's 21 animators, set cycling,
// queue part keyframes (never position ones: the figure stays where it is).
void ani_personKickLeft(Person& person);
void ani_personKickRight(Person& person);
void ani_personSkip(Person& person);
void ani_personTwoStepCycle(Person& person);
void ani_personFourStepCycle(Person& person);
