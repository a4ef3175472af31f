// platform.cpp - default implementations of the window-system seams.
#include "base/platform.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {

void noRedisplay() {}

int steadyClock() {
    static const auto start = std::chrono::steady_clock::now();
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - start).count());
}

void threadSleep(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int noModifiers() { return 0; }

RedisplayFn gRedisplay = noRedisplay;
ModifiersFn gModifiers = noModifiers;
ClockFn gClock = steadyClock;
SleepFn gSleep = threadSleep;

}  // namespace

void requestRedisplay() { gRedisplay(); }
void setRedisplayHandler(RedisplayFn fn) { gRedisplay = fn ? fn : noRedisplay; }
int elapsedMs() { return gClock(); }
void setClock(ClockFn fn) { gClock = fn ? fn : steadyClock; }
void sleepMs(int ms) { gSleep(ms); }
void setSleeper(SleepFn fn) { gSleep = fn ? fn : threadSleep; }

int modifiers() { return gModifiers(); }
void setModifiersSource(ModifiersFn fn) { gModifiers = fn ? fn : noModifiers; }

void resetSeams() {
    gModifiers = noModifiers;
    gRedisplay = noRedisplay;
    gClock = steadyClock;
    gSleep = threadSleep;
}

}  // namespace platform
