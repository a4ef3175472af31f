// window_close.h - the window manager's close button asks as "quit" does.
//
// freeglut ends the process on WM_DELETE_WINDOW, and even when told to
// carry on it destroys the window after its close callback, so "Cancel"
// could not keep the window. The request is therefore taken from the X
// connection as it is read, before freeglut sees it, and answered from the
// main loop by the quit question. The close callback (with freeglut told to
// continue) stays as a last guard for a close that still reaches freeglut:
// the window is lost then, so unsaved work goes to the autosave first.
#pragma once

// Call once the window exists and its GL context is current.
void installWindowCloseGuard();
