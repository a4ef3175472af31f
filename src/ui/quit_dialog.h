// quit_dialog.h - asking before "quit" throws away unsaved keyframes.
//
// The question goes through a seam like the file chooser's: the program asks
// with a small modal GTK dialog; tests install a recording fake. Whether
// there is unsaved work is asked of a predicate hook, so this module needs
// nothing from the editing code; with no predicate installed nothing counts
// as unsaved and quitting never asks.
#pragma once

class QuitConfirmer {
public:
    virtual ~QuitConfirmer() = default;
    // Shows the question and blocks until it is answered: true to quit.
    virtual bool confirmQuitDiscardingChanges() = 0;
};

// The GTK dialog. When GTK cannot start it answers "quit", so a missing
// display never traps the user in the program.
QuitConfirmer& gtkQuitConfirmer();

// Installs the confirmer; nullptr restores the GTK one.
void setQuitConfirmer(QuitConfirmer* confirmer);

// Asks through the installed confirmer.
bool confirmQuitDiscardingChanges();

// True when some figure holds keyframes made or changed since they were last
// saved or loaded. nullptr restores "nothing unsaved".
using UnsavedWorkQuery = bool (*)();
void setUnsavedWorkQuery(UnsavedWorkQuery query);

// What the menu's "quit" asks: true at once when nothing is unsaved,
// otherwise the user's answer.
bool quitAllowed();
