// value_dialog.cpp - the exact-values dialog's seam.
#include "ui/value_dialog.h"

namespace {
ValueEditor* installedEditor = nullptr;
}  // namespace

void setValueEditor(ValueEditor* editor) { installedEditor = editor; }

bool editExactValues(ExactValues& values) {
    ValueEditor& e = installedEditor ? *installedEditor : gtkValueEditor();
    return e.editValues(values);
}
