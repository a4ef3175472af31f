// autosave.cpp - the autosave worker, its file and recovery.
#include "scene/autosave.h"

#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <thread>

#include "core/app_state.h"
#include "edit/edit_commands.h"
#include "base/safe_file.h"
#include "scene/scene_commands.h"
#include "io/scene_file.h"
#include "core/messages.h"

namespace {

// Lives for the whole run and is never destroyed: its thread may still be
// writing when the process exits.
struct Worker {
    std::mutex mutex;
    std::condition_variable wake, idle;
    std::unique_ptr<Scene> pending;  // captured, waiting to be written
    std::unique_ptr<Scene> spare;    // the next capture goes here
    bool busy = false;               // a scene is pending or being written
    std::string lastText;            // what the file holds now; empty: no file
    std::thread thread;
};

Worker* gWorker = nullptr;
// Set once this run wrote or recovered the autosave: a quit removes only
// its own, never one left by a crash that was not recovered.
std::atomic<bool> gOwned{false};

void say(const std::string& console, const std::string& screen) {
    std::printf("%s\n", console.c_str());
    std::fflush(stdout);
    postMessage(screen);
}

// The folders down to the file, made private to the user.
bool makeFolders(const std::string& file) {
    for (std::size_t at = file.find('/', 1); at != std::string::npos; at = file.find('/', at + 1)) {
        const std::string folder = file.substr(0, at);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

bool writeText(const std::string& text, std::string& error) {
    const std::string path = autosavePath();
    if (path.empty()) {
        error = "neither XDG_STATE_HOME nor HOME is set";
        return false;
    }
    if (!makeFolders(path)) {
        error = std::string("cannot make its folder: ") + std::strerror(errno);
        return false;
    }
    return writeFileAtomically(path, text, error);
}

void run(Worker* w) {
    // Below every thread that draws: on a busy machine the text waits, not
    // the frames (the rasteriser's threads share the same cores).
    sched_param idle{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
    bool warned = false;
    for (;;) {
        std::unique_lock<std::mutex> lock(w->mutex);
        w->wake.wait(lock, [w] { return w->pending != nullptr; });
        std::unique_ptr<Scene> scene = std::move(w->pending);
        lock.unlock();

        const std::string text = writeSceneText(*scene);
        std::string error;
        bool written = false;
        struct stat st;
        // Rewritten when it changed, or when the file went (removed by hand).
        if (text != w->lastText || stat(autosavePath().c_str(), &st) != 0) {
            written = writeText(text, error);
            if (!written && !warned) {
                std::printf("WARNING: autosave not written: %s\n", error.c_str());
                std::fflush(stdout);
            }
            warned = !written;
        }

        lock.lock();
        if (written) {
            w->lastText = text;
            gOwned = true;
        }
        w->spare = std::move(scene);
        w->busy = false;
        w->idle.notify_all();
    }
}

Worker& worker() {
    if (!gWorker) {
        gWorker = new Worker;
        gWorker->thread = std::thread(run, gWorker);
        gWorker->thread.detach();
    }
    return *gWorker;
}

std::string fileTime(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return "an earlier run";
    std::tm local{};
    localtime_r(&st.st_mtime, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

}  // namespace

std::string autosavePath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string base;
    // The variable counts only when absolute, as relative ones are invalid.
    if (state && state[0] == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') return "";
        base = std::string(home) + "/.local/state";
    }
    return base + "/puppetorium/autosave.scene";
}

void autosaveInBackground() {
    Worker& w = worker();
    std::lock_guard<std::mutex> lock(w.mutex);
    if (w.busy) return;  // the last copy is still being written: next time
    if (!anyUnsavedKeyFrames()) {
        if (!w.lastText.empty()) {
            ::unlink(autosavePath().c_str());
            w.lastText.clear();
        }
        return;
    }
    if (!w.spare) w.spare = makeScene();
    captureScene(app, *w.spare);
    w.pending = std::move(w.spare);
    w.busy = true;
    w.wake.notify_one();
}

void waitForAutosave() {
    if (!gWorker) return;
    std::unique_lock<std::mutex> lock(gWorker->mutex);
    gWorker->idle.wait(lock, [] { return !gWorker->busy; });
}

bool autosaveBusy() {
    if (!gWorker) return false;
    std::lock_guard<std::mutex> lock(gWorker->mutex);
    return gWorker->busy;
}

bool writeAutosaveNow() {
    waitForAutosave();
    auto scene = makeScene();
    captureScene(app, *scene);
    std::string error;
    if (!writeText(writeSceneText(*scene), error)) {
        std::printf("ERROR: autosave not written: %s\n", error.c_str());
        std::fflush(stdout);
        return false;
    }
    gOwned = true;
    return true;
}

void removeAutosave() {
    waitForAutosave();
    if (!gOwned) return;
    gOwned = false;
    const std::string path = autosavePath();
    if (!path.empty()) ::unlink(path.c_str());
    if (gWorker) {
        std::lock_guard<std::mutex> lock(gWorker->mutex);
        gWorker->lastText.clear();
    }
}

void announceAutosave() {
    const std::string path = autosavePath();
    struct stat st;
    if (path.empty() || lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    const std::string when = fileTime(path);
    say("Unsaved work from " + when + " can be recovered: start with --recover, or choose "
        "\"recover autosave\" in the scene menu ('" + path + "')",
        "Unsaved work from " + when + " can be recovered (scene menu: recover autosave)");
}

bool recoverAutosave() {
    const std::string path = autosavePath();
    std::string error;
    auto scene = path.empty() ? nullptr : readSceneFile(path, error);
    if (!scene) {
        if (path.empty()) error = "neither XDG_STATE_HOME nor HOME is set";
        say("ERROR: no autosave recovered from '" + path + "': " + error, "Nothing recovered: " + error);
        return false;
    }
    const std::string when = fileTime(path);
    gOwned = true;
    noteFiguresChange("recover autosave", 0, scene->numPersons);
    applyScene(*scene);
    // Recovered work is saved nowhere but the autosave.
    for (int i = 0; i < scene->numPersons; i++) markKeyFramesChanged(i);
    say("Recovered the unsaved work of " + when + " from '" + path + "'",
        "Recovered unsaved work from " + when);
    return true;
}
