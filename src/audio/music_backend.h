// music_backend.h - the seam between the music player and whatever plays
// the sound.
//
// The player names every operation by the file's alias; the backend keeps
// at most one file open under an alias and ignores operations on an alias
// it has not opened. Nothing here reports failure: a backend that cannot
// play stays silent. The program uses SdlMusicBackend; tests use a
// recording fake.
#pragma once

#include <string>

class MusicBackend {
public:
    virtual ~MusicBackend() = default;

    // True when path names an existing regular file.
    virtual bool fileExists(const std::string& path) = 0;
    // Loads path under alias, ready to play from its beginning, not playing.
    virtual void open(const std::string& path, const std::string& alias) = 0;
    // Plays the file under alias once from its beginning, wherever it was.
    virtual void playFromStart(const std::string& alias) = 0;
    // Plays on from the current position; nothing if already playing.
    virtual void play(const std::string& alias) = 0;
    // Plays from `seconds` into the file, whether it was playing or not.
    virtual void playFrom(const std::string& alias, double seconds) = 0;
    // Pauses at the current position; the file stays open.
    virtual void stop(const std::string& alias) = 0;
    // Releases the file under alias.
    virtual void close(const std::string& alias) = 0;
};
