// value_editor.h - the seam of the exact-values dialog (Ctrl+E): the
// selected part's three angles and where the figure stands, typed as numbers.
//
// Like the quit question: the program asks with a small modal GTK dialog
// (ui/value_dialog_gtk.cpp), tests install a recording fake. The dialog only
// edits the values; clamping and applying them is the caller's
// (edit/pose_edit.h).
#pragma once

#include "edit/pose_edit.h"

class ValueEditor {
public:
    virtual ~ValueEditor() = default;
    // Shows `values` (angles with their limits) and blocks until answered:
    // true with the typed values for OK, false for Escape or Cancel.
    virtual bool editValues(ExactValues& values) = 0;
};

// The GTK dialog; without a display it answers "cancel".
ValueEditor& gtkValueEditor();
// Installs the editor; nullptr restores the GTK one.
void setValueEditor(ValueEditor* editor);
// Asks through the installed editor.
bool editExactValues(ExactValues& values);
