// app_state.cpp - the process-wide application state.
#include "core/app_state.h"

#include <new>

#include "core/messages.h"
#include "gfx/texture_loader.h"

const char* const cameraModeNames[CAMERA_MODE_COUNT] = {
    "CAM_FOCUS_ON_POINT",
    "CAM_SHIFT_TOWARDS_PERSON",
    "CAM_FOCUS_ON_PERSON",
    "CAM_FREE",
};

namespace {
// Heap-allocated once: the record is several megabytes (945 animators).
// Reset in place, so the texture loader's pointers into it stay good.
AppState& makeApp() {
    AppState* a = new AppState();
    useTextureTable(a->textures, &a->nextTextureName);
    return *a;
}
}  // namespace

AppState& app = makeApp();

void resetAppState() {
    app.~AppState();
    new (&app) AppState();
    clearMessage();
}
