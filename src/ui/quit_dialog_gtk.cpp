// quit_dialog_gtk.cpp - the quit question as a modal GTK message dialog on
// the GLUT thread. "Cancel" is the default, so a stray Return keeps the work.
#include <gtk/gtk.h>

#include "base/gtk_session.h"
#include "ui/quit_dialog.h"

namespace {

class GtkQuitConfirmer : public QuitConfirmer {
public:
    bool confirmQuitDiscardingChanges() override {
        if (!gtkReady()) return true;
        GtkWidget* ask = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION,
                                                GTK_BUTTONS_NONE,
                                                "Some figures have keyframes that are not saved.");
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(ask),
                                                 "Quit anyway and lose them?");
        gtk_window_set_title(GTK_WINDOW(ask), "Quit Puppetorium");
        gtk_dialog_add_buttons(GTK_DIALOG(ask), "_Cancel", GTK_RESPONSE_CANCEL, "_Quit",
                               GTK_RESPONSE_ACCEPT, nullptr);
        gtk_dialog_set_default_response(GTK_DIALOG(ask), GTK_RESPONSE_CANCEL);
        const gint answer = gtk_dialog_run(GTK_DIALOG(ask));
        gtk_widget_hide(ask);
        pumpGtkEvents();
        gtk_widget_destroy(ask);
        pumpGtkEvents();
        return answer == GTK_RESPONSE_ACCEPT;
    }
};

}  // namespace

QuitConfirmer& gtkQuitConfirmer() {
    static GtkQuitConfirmer confirmer;
    return confirmer;
}
