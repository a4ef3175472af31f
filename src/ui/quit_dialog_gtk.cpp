// quit_dialog_gtk.cpp - the quit question as a modal GTK message dialog on
// the GLUT thread. "Cancel" is the default, so a stray Return keeps the work.
#include <gtk/gtk.h>

#include "base/gtk_session.h"
#include "ui/quit_dialog.h"

namespace {

constexpr gint kResponseSave = 1;
constexpr gint kResponseDiscard = 2;

class GtkQuitConfirmer : public QuitConfirmer {
public:
    QuitAnswer askBeforeQuitting() override {
        if (!gtkReady()) return QuitAnswer::QuitWithoutSaving;
        GtkWidget* ask = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION,
                                                GTK_BUTTONS_NONE,
                                                "Some figures have keyframes that are not saved.");
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(ask),
                                                 "Save the scene before quitting?");
        gtk_window_set_title(GTK_WINDOW(ask), "Quit Puppetorium");
        // Mnemonics: Alt+S, Alt+Q and Alt+C (or Escape) answer from the keyboard.
        gtk_dialog_add_buttons(GTK_DIALOG(ask), "_Save scene", kResponseSave, "_Quit without saving",
                               kResponseDiscard, "_Cancel", GTK_RESPONSE_CANCEL, nullptr);
        gtk_dialog_set_default_response(GTK_DIALOG(ask), GTK_RESPONSE_CANCEL);
        const gint answer = gtk_dialog_run(GTK_DIALOG(ask));
        gtk_widget_hide(ask);
        pumpGtkEvents();
        gtk_widget_destroy(ask);
        pumpGtkEvents();
        if (answer == kResponseSave) return QuitAnswer::SaveScene;
        if (answer == kResponseDiscard) return QuitAnswer::QuitWithoutSaving;
        return QuitAnswer::Cancel;
    }
};

}  // namespace

QuitConfirmer& gtkQuitConfirmer() {
    static GtkQuitConfirmer confirmer;
    return confirmer;
}
