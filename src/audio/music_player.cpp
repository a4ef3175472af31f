// music_player.cpp - the five music operations.
#include "audio/music_player.h"

#include "audio/music_backend.h"

namespace {

// The command text with each "%s" replaced by the next argument in turn.
std::string compose(const char* format, const std::string& first, const std::string& second = "") {
    const std::string* args[2] = {&first, &second};
    int next = 0;
    std::string text;
    for (const char* c = format; *c; c++) {
        if (c[0] == '%' && c[1] == 's' && next < 2) {
            text += *args[next++];
            c++;
        } else {
            text += *c;
        }
    }
    return text;
}

}  // namespace

void MusicPlayer::openFile(const char* path) {
    // A missing file sends nothing, not even the close: whatever is open
    // stays open and keeps its place.
    if (path == nullptr || !backend->fileExists(path)) return;
    shortPath = path;
    close();
    command = compose(MUSIC_CMD_OPEN, shortPath, alias);
    backend->open(shortPath, alias);
}

void MusicPlayer::playFromStart() {
    command = compose(MUSIC_CMD_PLAY_FROM_START, alias);
    backend->playFromStart(alias);
}

void MusicPlayer::play() {
    command = compose(MUSIC_CMD_PLAY, alias);
    backend->play(alias);
}

void MusicPlayer::playFrom(double seconds) {
    command = compose(MUSIC_CMD_PLAY_FROM, alias, std::to_string(static_cast<long>(seconds * 1000)));
    backend->playFrom(alias, seconds);
}

void MusicPlayer::stop() {
    command = compose(MUSIC_CMD_STOP, alias);
    backend->stop(alias);
}

void MusicPlayer::close() {
    command = compose(MUSIC_CMD_CLOSE, alias);
    backend->close(alias);
}
