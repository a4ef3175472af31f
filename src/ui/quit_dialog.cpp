// quit_dialog.cpp - the quit question's seam and its hooks.
#include "ui/quit_dialog.h"

#include <cstdlib>

namespace {

QuitConfirmer* installedConfirmer = nullptr;
UnsavedWorkQuery unsavedWorkQuery = nullptr;
SceneSaver sceneSaver = nullptr;
QuitHook quitHook = nullptr;
bool ending = false;

}  // namespace

void setQuitConfirmer(QuitConfirmer* confirmer) { installedConfirmer = confirmer; }
void setUnsavedWorkQuery(UnsavedWorkQuery query) { unsavedWorkQuery = query; }
void setSceneSaver(SceneSaver saver) { sceneSaver = saver; }
void setQuitHook(QuitHook hook) { quitHook = hook; }

bool quitAllowed() {
    if (unsavedWorkQuery == nullptr || !unsavedWorkQuery()) return true;
    QuitConfirmer& c = installedConfirmer ? *installedConfirmer : gtkQuitConfirmer();
    switch (c.askBeforeQuitting()) {
    case QuitAnswer::QuitWithoutSaving: return true;
    case QuitAnswer::SaveScene: return sceneSaver != nullptr && sceneSaver();
    case QuitAnswer::Cancel: break;
    }
    return false;
}

void quitProgram() {
    if (quitAllowed()) endProgram();
}

bool programEnding() { return ending; }

void endProgram() {
    ending = true;
    if (quitHook) quitHook();
    std::exit(0);
}
