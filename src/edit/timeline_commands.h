// timeline_commands.h - the commands of the scene's time line as the keys
// call them: keyframe kinds, a key for one part, the whole scene to its
// start or playing, and the camera's own track. Each posts its message;
// those that change keyframes are undo steps.
#pragma once

void cycleKeyFrameKindCommand();      // Ctrl+T
void applyKindToFigureCommand();      // Ctrl+Shift+T
void recordPartKeyFrameCommand();     // Shift+F7
void rewindSceneCommand();            // Ctrl+Home
void playSceneCommand();              // Ctrl+Return
void recordCameraKeyFrameCommand();   // Ctrl+K
void clearCameraTrackCommand();       // Ctrl+Shift+K

// ---- the camera's own track (GL-free)
constexpr int CAMERA_KEYFRAME_STEPS = 20;  // as F7 records a figure
class Camera;
// Appends the present eye and target as the track's next keyframe, smooth,
// and leaves the camera following the track, standing at that keyframe.
// False when the track is full.
bool recordCameraKeyFrame(Camera& camera);
// Empties the track; the camera stays where it is, free.
void clearCameraTrack(Camera& camera);
