// quit_dialog.cpp - the quit question's seam and the unsaved-work hook.
#include "ui/quit_dialog.h"

namespace {

QuitConfirmer* installedConfirmer = nullptr;
UnsavedWorkQuery unsavedWorkQuery = nullptr;

}  // namespace

void setQuitConfirmer(QuitConfirmer* confirmer) { installedConfirmer = confirmer; }

bool confirmQuitDiscardingChanges() {
    QuitConfirmer& c = installedConfirmer ? *installedConfirmer : gtkQuitConfirmer();
    return c.confirmQuitDiscardingChanges();
}

void setUnsavedWorkQuery(UnsavedWorkQuery query) { unsavedWorkQuery = query; }

bool quitAllowed() {
    if (unsavedWorkQuery == nullptr || !unsavedWorkQuery()) return true;
    return confirmQuitDiscardingChanges();
}
