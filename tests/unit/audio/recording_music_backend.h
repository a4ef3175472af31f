// recording_music_backend.h - a music backend that plays nothing and writes
// down every operation it receives, one line each: "open PATH ALIAS",
// "playFromStart ALIAS", "play ALIAS", "playFrom ALIAS SECONDS", "stop ALIAS",
// "close ALIAS". Files
// exist when they are listed in `files`.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "audio/music_backend.h"

class RecordingMusicBackend : public MusicBackend {
public:
    std::set<std::string> files;
    std::vector<std::string> calls;
    std::vector<std::string> existenceChecks;

    bool fileExists(const std::string& path) override {
        existenceChecks.push_back(path);
        return files.count(path) > 0;
    }
    void open(const std::string& path, const std::string& alias) override {
        calls.push_back("open " + path + " " + alias);
    }
    void playFromStart(const std::string& alias) override { calls.push_back("playFromStart " + alias); }
    void play(const std::string& alias) override { calls.push_back("play " + alias); }
    void playFrom(const std::string& alias, double seconds) override {
        char at[32];
        std::snprintf(at, sizeof at, "%.2f", seconds);
        calls.push_back("playFrom " + alias + " " + at);
    }
    void stop(const std::string& alias) override { calls.push_back("stop " + alias); }
    void close(const std::string& alias) override { calls.push_back("close " + alias); }

    // The calls since the last take, and forgets them.
    std::vector<std::string> take() {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }
};
