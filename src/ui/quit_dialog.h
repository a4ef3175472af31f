// quit_dialog.h - asking before quitting throws away unsaved keyframes.
//
// The question goes through a seam like the file chooser's: the program asks
// with a small modal GTK dialog; tests install a recording fake. Whether
// there is unsaved work, and how the scene is saved, are asked of hooks, so
// this module needs nothing from the editing or file code; with no query
// installed nothing counts as unsaved and quitting never asks.
//
// The menu's "quit" and the window manager's close button ask the same
// question through quitAllowed().
#pragma once

enum class QuitAnswer { SaveScene, QuitWithoutSaving, Cancel };

class QuitConfirmer {
public:
    virtual ~QuitConfirmer() = default;
    // Shows the question ("Save scene", "Quit without saving", "Cancel")
    // and blocks until it is answered.
    virtual QuitAnswer askBeforeQuitting() = 0;
};

// The GTK dialog. When GTK cannot start it answers "Quit without saving",
// so a broken display never traps the user in the program.
QuitConfirmer& gtkQuitConfirmer();

// Installs the confirmer; nullptr restores the GTK one.
void setQuitConfirmer(QuitConfirmer* confirmer);

// True when some figure holds keyframes made or changed since they were last
// saved or loaded. nullptr restores "nothing unsaved".
using UnsavedWorkQuery = bool (*)();
void setUnsavedWorkQuery(UnsavedWorkQuery query);

// Saves the whole scene (a chooser first); true once it is on disk.
// nullptr: "Save scene" keeps the program open.
using SceneSaver = bool (*)();
void setSceneSaver(SceneSaver saver);

// Runs just before a quit the user agreed to (removing the autosave).
using QuitHook = void (*)();
void setQuitHook(QuitHook hook);

// What quitting asks: true at once when nothing is unsaved; otherwise true
// for "Quit without saving" and for "Save scene" once the save succeeded,
// false for "Cancel" and a save that did not happen.
bool quitAllowed();

// Asks as quitAllowed() does and, when allowed, ends the program.
void quitProgram();
// Runs the quit hook and ends the process with status 0.
[[noreturn]] void endProgram();
// True once endProgram() has begun: the exit handlers destroy the window,
// and its close callback must not ask again.
bool programEnding();
