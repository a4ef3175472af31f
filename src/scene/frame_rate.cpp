// frame_rate.cpp - frame-rate measurement over a ring of frame stamps.
#include "scene/frame_rate.h"

#include "core/app_state.h"
#include "base/platform.h"

void updateFps() {
    const int now = platform::elapsedMs();
    if (app.frameTimeIndex < 0) {
        for (int& t : app.frameTimes) t = now;
        app.lastFpsUpdate = now;
        app.frameTimeIndex = 0;
        return;
    }

    const int i = app.frameTimeIndex;
    app.frameTimes[i] = now;
    if (now > app.lastFpsUpdate + 1000) {
        // The next slot holds the oldest stamp of the ring.
        const int span = now - app.frameTimes[(i + 1) % FPS_RING_SIZE];
        // Ten frames within one millisecond give no figure; keep the last one
        // (and try again next frame) rather than show "inf".
        if (span > 0) {
            app.lastFpsUpdate = now;
            app.fps = static_cast<float>(9000.0 / span);
        }
    }
    app.frameTimeIndex = (i + 1) % FPS_RING_SIZE;
}
