// messages.cpp - one on-screen message at a time, timed on the frame clock.
#include "core/messages.h"

#include "base/platform.h"

namespace {
std::string shownText;
int shownSinceMs = 0;
bool showing = false;
}  // namespace

void postMessage(const std::string& text) {
    shownText = text;
    shownSinceMs = platform::elapsedMs();
    showing = true;
    platform::requestRedisplay();
}

const std::string* currentMessage(int nowMs) {
    if (!showing) return nullptr;
    // Also ends a message whose clock went backwards (a test's fake clock).
    if (nowMs - shownSinceMs >= kMessageDurationMs || nowMs < shownSinceMs) {
        showing = false;
        return nullptr;
    }
    return &shownText;
}

void clearMessage() {
    showing = false;
    shownText.clear();
}
