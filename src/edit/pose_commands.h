// pose_commands.h - the posing commands as keys and the mouse call them:
// copy, paste and mirrored paste of a pose, back to standing, the exact
// values dialog, and the Ctrl + left drag that poses a limb or the body.
//
// Each acts on the selected figure, is one undo step, pauses a playing
// figure first (so the animation does not take the pose back next frame)
// and says on screen what it did.
#pragma once

struct PickRay;

void copyPoseCommand();                    // Ctrl+C
void pastePoseCommand(bool mirrored);      // Ctrl+V, Ctrl+Shift+V
void resetPartCommand();                   // Backspace
void exactValuesCommand();                 // Ctrl+E

// ---- the posing drag
// A Ctrl + left press at pixel (x, y): picks the part under it and, when it
// is a hand, lower arm, foot, lower leg, pelvis, stomach or chest, selects
// it and starts the drag. False when nothing poses there.
bool beginPoseDragAt(int x, int y);
// The pointer moved to (x, y) while the drag lasts; false when no drag.
bool movePoseDragTo(int x, int y);
// The button came up; false when no drag was on.
bool endPoseDrag();
bool poseDragActive();
