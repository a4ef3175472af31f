// music_commands.cpp - the scene's music file and offset, as the user sets them.
#include "edit/music_commands.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "core/app_state.h"
#include "audio/music_analysis.h"
#include "audio/music_decode.h"
#include "audio/music_follow.h"
#include "io/file_chooser.h"
#include "core/messages.h"

namespace {

const FileFilter kMusicFilters[] = {
    {"Music (*.mp3, *.ogg, *.flac, *.wav)", "*.mp3;*.ogg;*.flac;*.wav;*.MP3;*.OGG;*.FLAC;*.WAV"},
};

void report(const std::string& console, const std::string& screen) {
    std::printf("%s\n", console.c_str());
    std::fflush(stdout);
    postMessage(screen);
}

}  // namespace

const FileDialogRequest kOpenMusicRequest = {FileDialogKind::Open, "Open Music", kMusicFilters, 1, nullptr};

bool setSceneMusic(const std::string& path) {
    MusicDecoder probe;
    std::string why;
    // Opening finds the container and the sound stream: a file with no music
    // in it is known now, before the scene names it.
    if (!probe.open(path, 44100, 1, why)) {
        report("ERROR: music file '" + path + "' not taken: " + why, "Music not taken: " + why);
        return false;
    }
    app.sceneMusicFile = path;
    app.musicFollowOn = true;
    app.sceneMusicTaken++;
    requestMusicAnalysis(path);
    const std::string name = std::filesystem::path(path).filename().string();
    report("Scene music is now '" + path + "'", "Music: " + name);
    return true;
}

bool chooseMusicDialog() {
    std::string path;
    if (!chooseFile(kOpenMusicRequest, path)) return false;
    return setSceneMusic(path);
}

void nudgeMusic(int direction) {
    // Later music means a smaller position at each animation time. Kept to
    // a ten-thousandth so repeated steps do not wander in the last digits.
    const double moved = app.sceneMusicOffset - direction * kMusicNudgeSeconds;
    app.sceneMusicOffset = static_cast<float>(std::round(moved * 10000) / 10000);
    resyncMusicFollower();
    postMessage(musicOffsetText(app.sceneMusicOffset));
}

std::string musicOffsetText(double offset) {
    char text[48];
    std::snprintf(text, sizeof text, "music %+.2f s", offset);
    return text;
}
