// value_dialog_gtk.cpp - the exact-values dialog as a modal GTK dialog on the
// GLUT thread: six spin buttons, each bounded by what it may hold, so a
// typed number beyond a limit is clamped as it is typed. Return is OK,
// Escape cancels.
#include <gtk/gtk.h>

#include <string>

#include "base/gtk_session.h"
#include "edit/value_editor.h"

namespace {

// One labelled row of the grid; the label names the range it is kept in.
GtkWidget* addRow(GtkGrid* grid, int row, const std::string& name, double value, double lo, double hi, int digits) {
    const std::string text = name + "  (" + std::to_string(static_cast<int>(lo)) + " to " +
                             std::to_string(static_cast<int>(hi)) + ")";
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_widget_set_halign(label, GTK_ALIGN_START);
    GtkWidget* spin = gtk_spin_button_new_with_range(lo, hi, 1);
    gtk_spin_button_set_digits(GTK_SPIN_BUTTON(spin), digits);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(spin), value);
    gtk_entry_set_activates_default(GTK_ENTRY(spin), TRUE);
    gtk_grid_attach(grid, label, 0, row, 1, 1);
    gtk_grid_attach(grid, spin, 1, row, 1, 1);
    return spin;
}

float read(GtkWidget* spin) {
    gtk_spin_button_update(GTK_SPIN_BUTTON(spin));  // takes a number typed but not yet entered
    return static_cast<float>(gtk_spin_button_get_value(GTK_SPIN_BUTTON(spin)));
}

class GtkValueEditor : public ValueEditor {
public:
    bool editValues(ExactValues& v) override {
        if (!gtkReady()) return false;
        const std::string title = std::string("Exact values: ") + kBodyPartLabels[v.part];
        GtkWidget* dialog = gtk_dialog_new_with_buttons(title.c_str(), nullptr, GTK_DIALOG_MODAL, "_Cancel",
                                                        GTK_RESPONSE_CANCEL, "_OK", GTK_RESPONSE_OK, nullptr);
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
        GtkWidget* grid = gtk_grid_new();
        gtk_grid_set_row_spacing(GTK_GRID(grid), 4);
        gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
        gtk_container_set_border_width(GTK_CONTAINER(grid), 10);
        const std::string part = kBodyPartLabels[v.part];
        GtkWidget* angle[3];
        const char* axes[3] = {" x", " y", " z"};
        for (int k = 0; k < 3; k++)
            angle[k] = addRow(GTK_GRID(grid), k, part + axes[k], v.angle[k], v.minAngle[k], v.maxAngle[k], 2);
        GtkWidget* x = addRow(GTK_GRID(grid), 3, "position x", v.x, -EXACT_POSITION_LIMIT, EXACT_POSITION_LIMIT, 2);
        GtkWidget* z = addRow(GTK_GRID(grid), 4, "position z", v.z, -EXACT_POSITION_LIMIT, EXACT_POSITION_LIMIT, 2);
        GtkWidget* heading = addRow(GTK_GRID(grid), 5, "heading", v.heading, -360, 360, 2);
        gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), grid);
        gtk_widget_show_all(dialog);
        const gint answer = gtk_dialog_run(GTK_DIALOG(dialog));
        if (answer == GTK_RESPONSE_OK) {
            for (int k = 0; k < 3; k++) v.angle[k] = read(angle[k]);
            v.x = read(x);
            v.z = read(z);
            v.heading = read(heading);
        }
        gtk_widget_hide(dialog);
        pumpGtkEvents();
        gtk_widget_destroy(dialog);
        pumpGtkEvents();
        return answer == GTK_RESPONSE_OK;
    }
};

}  // namespace

ValueEditor& gtkValueEditor() {
    static GtkValueEditor editor;
    return editor;
}
