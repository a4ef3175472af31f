// sdl_music_backend.h - music through SDL2_mixer's music stream.
//
// The audio device is opened on the first open(), not before, so a run that
// never finds a music file never touches the sound system. No device (SDL
// audio or the mixer failing to start) is not an error: every operation then
// does nothing and nothing is printed. SDL_mixer has one music stream, so one
// file is open at a time, under one alias; operations naming another alias
// are ignored, as is an open under an alias already in use.
#pragma once

#include <string>

#include "audio/music_backend.h"

typedef struct _Mix_Music Mix_Music;

class SdlMusicBackend : public MusicBackend {
public:
    std::string openAlias;        // alias of the open file, empty when none
    Mix_Music* music = nullptr;   // the open file, decoded as it plays
    bool started = false;         // played since it was opened
    bool paused = false;          // stopped since it last played
    bool deviceTried = false;     // the device was asked for
    bool deviceReady = false;     // ... and is open

    SdlMusicBackend() = default;
    SdlMusicBackend(const SdlMusicBackend&) = delete;
    SdlMusicBackend& operator=(const SdlMusicBackend&) = delete;
    // Frees the file and closes the device this backend opened.
    ~SdlMusicBackend() override;

    bool fileExists(const std::string& path) override;
    void open(const std::string& path, const std::string& alias) override;
    void playFromStart(const std::string& alias) override;
    void play(const std::string& alias) override;
    void playFrom(const std::string& alias, double seconds) override;
    void stop(const std::string& alias) override;
    void close(const std::string& alias) override;

private:
    bool ensureDevice();
    bool isOpen(const std::string& alias) const { return music && alias == openAlias; }
};
