/* wm_close.c - sends a window the close request a window manager sends
 * when its close button is pressed: a WM_PROTOCOLS client message holding
 * WM_DELETE_WINDOW.
 *
 *   wm_close WINDOW-ID      (decimal or 0x hex, as xdotool prints it)
 */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: wm_close WINDOW-ID\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "wm_close: cannot open the display\n");
        return 1;
    }
    XEvent ev = {0};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = (Window)strtoul(argv[1], NULL, 0);
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    ev.xclient.data.l[1] = CurrentTime;
    if (!XSendEvent(dpy, ev.xclient.window, False, NoEventMask, &ev)) {
        fprintf(stderr, "wm_close: the event was not sent\n");
        return 1;
    }
    XSync(dpy, False);
    XCloseDisplay(dpy);
    return 0;
}
