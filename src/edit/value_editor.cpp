// value_editor.cpp - the exact-values dialog's seam.
#include "edit/value_editor.h"

namespace {
ValueEditor* installedEditor = nullptr;
}  // namespace

void setValueEditor(ValueEditor* editor) { installedEditor = editor; }

bool editExactValues(ExactValues& values) {
    ValueEditor& e = installedEditor ? *installedEditor : gtkValueEditor();
    return e.editValues(values);
}
