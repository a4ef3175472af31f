// window_close.cpp - catching the close request on the X connection.
#include "app/window_close.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "scene/autosave.h"
#include "ui/quit_dialog.h"

// The hook that sees events as they come off the wire; declared for
// extension libraries, so it lives in the internal header.
#include <X11/Xlibint.h>

namespace {

using WireToEvent = Bool (*)(Display*, XEvent*, xEvent*);

WireToEvent gPreviousConverter = nullptr;
Atom gProtocols = None;
Atom gDeleteWindow = None;
std::atomic<bool> gCloseRequested{false};

constexpr int kPollMs = 50;

// Runs inside Xlib with its lock held: only looks and sets a flag. False
// keeps the event out of the queue freeglut reads.
Bool takeCloseRequest(Display* dpy, XEvent* re, xEvent* wire) {
    const Bool queued = gPreviousConverter(dpy, re, wire);
    if (queued && re->type == ClientMessage && re->xclient.message_type == gProtocols &&
        re->xclient.format == 32 && static_cast<Atom>(re->xclient.data.l[0]) == gDeleteWindow) {
        gCloseRequested = true;
        return False;
    }
    return queued;
}

void answerCloseRequest(int) {
    if (gCloseRequested.exchange(false)) quitProgram();
    glutTimerFunc(kPollMs, answerCloseRequest, 0);
}

// The window is going whatever the answer: a cancelled quit still exits,
// its work kept in the autosave for --recover.
void onWindowDestroyed() {
    // freeglut tears the window down at exit, after the question was asked.
    if (programEnding()) return;
    if (quitAllowed()) endProgram();
    writeAutosaveNow();
    std::printf("WARNING: the window was closed; unsaved work is kept in the autosave "
                "(start with --recover)\n");
    std::fflush(stdout);
    std::_Exit(0);
}

}  // namespace

void installWindowCloseGuard() {
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    glutCloseFunc(onWindowDestroyed);
    Display* dpy = glXGetCurrentDisplay();
    if (dpy == nullptr) return;
    gProtocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
    gDeleteWindow = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XLockDisplay(dpy);
    gPreviousConverter = XESetWireToEvent(dpy, ClientMessage, takeCloseRequest);
    XUnlockDisplay(dpy);
    glutTimerFunc(kPollMs, answerCloseRequest, 0);
}
