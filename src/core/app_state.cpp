// app_state.cpp - the process-wide application state.
#include "core/app_state.h"

#include <new>

#include "edit/edit_commands.h"
#include "ui/messages.h"

const char* const cameraModeNames[CAMERA_MODE_COUNT] = {
    "CAM_FOCUS_ON_POINT",
    "CAM_SHIFT_TOWARDS_PERSON",
    "CAM_FOCUS_ON_PERSON",
    "CAM_FREE",
};

// Heap-allocated once: the record is several megabytes (945 animators).
AppState& app = *new AppState();

void resetAppState() {
    app.~AppState();
    new (&app) AppState();
    resetEditing();
    clearMessage();
}
