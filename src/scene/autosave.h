// autosave.h - unsaved work kept on disk while the program runs, so a crash
// or a kill loses at most the last few seconds.
//
// Every kAutosaveIntervalMs the program calls autosaveInBackground(): when
// some keyframes are unsaved (what the quit question asks about), the scene
// is copied on the GLUT thread (a memory copy) and a worker thread turns the
// copy into text and writes it through the atomic writer, only when it
// differs from what it wrote last, so a frame never waits on the disk. Once
// nothing is unsaved (a save), the autosave is removed; a clean quit removes
// it too (but never a left-over of an earlier run that was not recovered). At start a left-over autosave is announced; --recover or the
// scene menu's "recover autosave" opens it, its keyframes still unsaved.
//
// The file is $XDG_STATE_HOME/puppetorium/autosave.scene, or
// ~/.local/state/puppetorium/autosave.scene when the variable is unset.
#pragma once

#include <string>

constexpr int kAutosaveIntervalMs = 10000;

// Where the autosave lives; empty when neither XDG_STATE_HOME nor HOME is set.
std::string autosavePath();

// Hands a copy of the scene to the worker when there is unsaved work (and
// the worker is free); removes the autosave when there is none.
void autosaveInBackground();
// Waits until the worker has written what it was given (tests, and quitting).
void waitForAutosave();
// True while the worker holds a copy it has not finished writing.
bool autosaveBusy();
// Writes the autosave at once on the calling thread (the window is going).
bool writeAutosaveNow();
// Removes the autosave (a clean quit) when this run wrote or recovered it;
// one left by a crash and not recovered stays. Waits for a write in progress.
void removeAutosave();

// At start: says when an autosave from an earlier run is there to recover.
void announceAutosave();
// Opens the autosave as the present scene; its keyframes count as unsaved.
bool recoverAutosave();
