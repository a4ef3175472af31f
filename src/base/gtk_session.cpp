// gtk_session.cpp - starting GTK for the modal dialogs.
#include "base/gtk_session.h"

#include <gtk/gtk.h>

bool gtkReady() {
    static int state = -1;  // -1 untried, 0 failed, 1 ready
    if (state < 0) {
        // Keep the C locale: numbers in animation files use a decimal point.
        gtk_disable_setlocale();
        state = gtk_init_check(nullptr, nullptr) ? 1 : 0;
    }
    return state == 1;
}

void pumpGtkEvents() {
    while (gtk_events_pending()) gtk_main_iteration();
}
