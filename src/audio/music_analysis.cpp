// music_analysis.cpp - one worker thread per music file, its result handed
// to the GLUT thread under a lock.
#include "audio/music_analysis.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "core/app_state.h"

namespace {

struct Analysis {
    std::string path;
    bool done = false;
    bool ok = false;
    std::string error;
    MusicBeats beats;
};

// Made once and never destroyed: a worker may still be finishing while the
// process exits and runs the destructors of globals.
std::mutex& gLock = *new std::mutex;
std::condition_variable& gDone = *new std::condition_variable;
// The newest request; a worker whose request is no longer this one drops its result.
std::shared_ptr<Analysis> gLatest;

void analyse(std::shared_ptr<Analysis> job) {
    MusicBeats beats;
    std::string error;
    const bool ok = analyseMusic(job->path, beats, error);
    {
        std::lock_guard<std::mutex> hold(gLock);
        job->ok = ok;
        job->error = error;
        job->beats = std::move(beats);
        job->done = true;
    }
    gDone.notify_all();  // the window redraws every frame and picks it up then
}

}  // namespace

void requestMusicAnalysis(const std::string& path) {
    std::lock_guard<std::mutex> hold(gLock);
    if (gLatest && gLatest->path == path) return;
    gLatest.reset();
    if (path.empty()) return;
    auto job = std::make_shared<Analysis>();
    job->path = path;
    gLatest = job;
    // Detached: a worker only touches its own job, kept alive by its pointer.
    try {
        std::thread(analyse, job).detach();
    } catch (const std::system_error&) {
        job->error = "no thread to find its beats on";
        job->done = true;
    }
}

const MusicBeats* sceneMusicBeats() {
    requestMusicAnalysis(app.sceneMusicFile);
    std::lock_guard<std::mutex> hold(gLock);
    if (!gLatest || !gLatest->done || !gLatest->ok || gLatest->path != app.sceneMusicFile) return nullptr;
    // Done jobs are never written again, so the pointer stays good until the next request.
    return &gLatest->beats;
}

std::string musicAnalysisError() {
    std::lock_guard<std::mutex> hold(gLock);
    return gLatest && gLatest->done && !gLatest->ok ? gLatest->error : std::string();
}

void setMusicBeatsForTests(const std::string& path, const MusicBeats& beats) {
    auto job = std::make_shared<Analysis>();
    job->path = path;
    job->beats = beats;
    job->ok = job->done = true;
    std::lock_guard<std::mutex> hold(gLock);
    gLatest = job;
}

void waitForMusicAnalysis() {
    std::unique_lock<std::mutex> hold(gLock);
    gDone.wait(hold, [] { return !gLatest || gLatest->done; });
}
