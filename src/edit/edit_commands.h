// edit_commands.h - the editing commands as the keys and menus call them.
//
// Each acts on the selected figure: it records an undo step, makes the edit,
// marks the figure's keyframes unsaved where they changed and posts the
// on-screen message. The change hooks (noteFigureChange and friends) are
// what the key map, the menus and the mouse call before a change of their
// own, so it can be undone.
#pragma once

#include <string>

class History;
class Person;

// The program's one undo history.
History& editHistory();
// Fresh history, no unsaved keyframes (tests, and a fresh application state).
void resetEditing();

// ---- commands
void togglePlaySelected();                 // Return
enum KeyFrameTarget { KF_FIRST, KF_PREVIOUS, KF_NEXT, KF_LAST };
void goToKeyFrameCommand(KeyFrameTarget target);  // Home, Page Up, Page Down, End
void goToKeyFrameIndexCommand(int j);      // a tick on the timeline
void recordKeyFrameCommand();              // F7 and "-pushKeyFrame"
void replaceKeyFrameCommand();             // Ctrl+R
void insertKeyFrameCommand();              // Insert
void deleteKeyFrameCommand();              // Delete
void changeKeyFrameLengthCommand(int delta);  // Ctrl+Page Up / Down
void undoCommand();                        // Ctrl+Z
void redoCommand();                        // Ctrl+Y, Ctrl+Shift+Z
void scrubCommand(float t);                // dragging along the timeline
bool openAnimationCommand();               // F5: the dialog, undoable, with a message
bool saveAnimationCommand();               // F6: the dialog, with a message
// What a figure does with an animation just loaded: "playing in a loop", or
// waiting and the key that starts it.
std::string playStateAfterLoad(const Person& p);

// ---- change hooks, called before the change happens
// One figure; a non-zero runKey folds repeats of the same key into one step.
void noteFigureChange(const std::string& label, int person, long runKey = 0);
// Figures first .. first + count - 1 (and always the count and selection).
void noteFiguresChange(const std::string& label, int first, int count);
// A change of the figure count only (o, p).
void noteCountChange(const std::string& label, long runKey);
// A change that turned out not to happen (a cancelled dialog).
void forgetLastChange();
// A pose change by hand to a part (-1: the position): warns when the
// figure's animation would put it back next frame.
void warnIfPlaying(int person, int part);
// A left drag turning a part: one step from press to release.
void beginDragGesture();
void endDragGesture();
void notePartDrag();

// ---- unsaved keyframes
void markKeyFramesChanged(int person);
void markKeyFramesSaved(int person);        // after a save or a load
bool anyUnsavedKeyFrames();

// "figure 1", counting from 1 as the user does.
std::string figureName(int person);
