// gtk_session.h - GTK started once, on the GLUT thread, for the modal dialogs
// (file choosers, the quit question). A session that never shows a dialog
// never starts GTK.
#pragma once

// Starts GTK on first use, keeping the C locale; false when it cannot start
// (no display), after which every dialog behaves as cancelled.
bool gtkReady();

// Lets GTK finish pending work, such as unmapping a destroyed dialog.
void pumpGtkEvents();
