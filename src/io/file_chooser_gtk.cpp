// file_chooser_gtk.cpp - the real file chooser: GTK 3's modal dialog, run on
// the GLUT thread, which it blocks until the dialog closes.
//
// GTK is started on first use (io/gtk_session.h). If it cannot start (no
// display), every dialog behaves as cancelled.
#include <gtk/gtk.h>
#include <sys/stat.h>

#include <string>

#include "io/file_chooser.h"
#include "base/gtk_session.h"

namespace {

bool fileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Asks before replacing the file a save will write. GTK's own check is off:
// it runs before the default extension is added, so it would ask about "foo"
// and the save would then write "foo.txt".
bool confirmReplace(GtkWidget* parent, const std::string& path) {
    GtkWidget* ask = gtk_message_dialog_new(GTK_WINDOW(parent), GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION,
                                            GTK_BUTTONS_YES_NO,
                                            "A file named \"%s\" already exists. Do you want to replace it?",
                                            path.c_str());
    const gint answer = gtk_dialog_run(GTK_DIALOG(ask));
    gtk_widget_destroy(ask);
    pumpGtkEvents();
    return answer == GTK_RESPONSE_YES;
}

void addFilters(GtkFileChooser* chooser, const FileDialogRequest& request) {
    for (int i = 0; i < request.filterCount; i++) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, request.filters[i].name);
        const std::string patterns = request.filters[i].patterns;
        std::size_t start = 0;
        while (start <= patterns.size()) {
            std::size_t end = patterns.find(';', start);
            if (end == std::string::npos) end = patterns.size();
            if (end > start) gtk_file_filter_add_pattern(filter, patterns.substr(start, end - start).c_str());
            start = end + 1;
        }
        gtk_file_chooser_add_filter(chooser, filter);  // the chooser takes ownership
        if (i == 0) gtk_file_chooser_set_filter(chooser, filter);
    }
}

// A chooser that remembers having been typed into opens with its location
// entry focused, but realizes that entry only a moment after the dialog is
// on screen. A key typed in that moment went to the unrealized entry: GTK
// dropped it with a "gtk_widget_event: assertion" on the console. Runs before
// the window's own handler, which hands the key to the focus widget.
gboolean realizeFocusFirst(GtkWidget* dialog, GdkEvent*, gpointer) {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog));
    if (focus && !gtk_widget_get_realized(focus)) gtk_widget_realize(focus);
    return GDK_EVENT_PROPAGATE;
}

class GtkDialogChooser : public FileChooser {
public:
    bool choose(const FileDialogRequest& request, std::string& path) override {
        if (!gtkReady()) return false;
        const bool save = request.kind == FileDialogKind::Save;
        GtkWidget* dialog = gtk_file_chooser_dialog_new(
            save ? "Save Animation" : "Open Animation", nullptr,
            save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN,
            "_Cancel", GTK_RESPONSE_CANCEL, save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
        gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
        g_signal_connect(dialog, "key-press-event", G_CALLBACK(realizeFocusFirst), nullptr);
        g_signal_connect(dialog, "key-release-event", G_CALLBACK(realizeFocusFirst), nullptr);
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
        addFilters(chooser, request);
        // First in the working folder, where saves and renders go, whichever
        // folder the program's own data came from.
        gchar* here = g_get_current_dir();
        gtk_file_chooser_set_current_folder(chooser, here);
        g_free(here);

        bool chosen = false;
        while (!chosen && gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
            gchar* name = gtk_file_chooser_get_filename(chooser);
            if (name == nullptr) break;  // not a local file
            std::string result = name;
            g_free(name);
            if (save) {
                result = withDefaultExtension(result, request.defaultExtension);
                if (fileExists(result) && !confirmReplace(dialog, result)) continue;  // back to the dialog
            }
            path = result;
            chosen = true;
        }
        // Hide first so the key release that closed it still finds a live
        // window, then let the unmap reach the screen before returning.
        gtk_widget_hide(dialog);
        pumpGtkEvents();
        gtk_widget_destroy(dialog);
        pumpGtkEvents();
        return chosen;
    }
};

}  // namespace

FileChooser& gtkFileChooser() {
    static GtkDialogChooser chooser;
    return chooser;
}
