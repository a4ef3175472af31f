// frame_clock.cpp - the frame clock and idle loop.
//
// Animation speed is counted in frames: one keyframe step per frame at play
// rate 1, except while music follows a scene, when frames count wall-clock
// time so the dance keeps time with the music. The optional limiter holds frames to a 40 ms period; it sleeps in
// short slices rather than spinning, and never lets a frame start early.
#include "scene/frame_clock.h"

#include <cstdio>

#include "core/app_state.h"
#include "base/platform.h"
#include "audio/music_follow.h"

void applyHeldKeys() {
    Person& p = app.persons[app.selectedPerson];
    if (app.upHeld)
        p.moveForward(app.walkStep, 1);
    else if (app.downHeld)
        p.moveForward(-app.walkStep, 1);

    if (app.leftHeld) {
        if (app.tabHeld) p.moveAlongHeading(app.walkStep, -90, 1);
        else p.turnFigure(app.turnStep, 1);
    } else if (app.rightHeld) {
        if (app.tabHeld) p.moveAlongHeading(-app.walkStep, -90, 1);
        else p.turnFigure(-app.turnStep, 1);
    }
}

float frameSteps(int previousMs, int nowMs) {
    if (!musicFollowing()) return app.playRate;
    int gap = nowMs - previousMs;
    if (gap < 0) gap = 0;
    if (gap > WALL_CLOCK_MAX_GAP_MS) gap = WALL_CLOCK_MAX_GAP_MS;
    return static_cast<float>(app.playRate * gap * kStepsPerSecond / 1000.0);
}

void idle() {
    if (app.helpVisible) {
        if (musicFollowing()) followMusic(platform::elapsedMs());  // the music pauses with the scene
        platform::requestRedisplay();
        return;
    }
    if (app.frameLimiterOn) {
        const int deadline = app.lastFrameTime + FRAME_PERIOD_MS;
        for (int now = platform::elapsedMs(); now < deadline; now = platform::elapsedMs())
            platform::sleepMs(deadline - now > 1 ? deadline - now - 1 : 0);
        if (platform::elapsedMs() > app.lastFrameTime + FRAME_LATE_MS) {
            std::printf("WARNING: cannot keep up with frame rate of:%d\n", FRAME_PERIOD_MS);
            std::fflush(stdout);
        }
    }
    const int previousFrameTime = app.lastFrameTime;
    app.lastFrameTime = platform::elapsedMs();
    const float steps = frameSteps(previousFrameTime, app.lastFrameTime);

    app.sceneClock += steps;
    if (app.sceneClock < 0) app.sceneClock = 0;

    applyHeldKeys();

    for (int i = 0; i < app.numPersons; i++) app.persons[i].stepAnimationBy(steps);

    followMusic(app.lastFrameTime);
    platform::requestRedisplay();
}
