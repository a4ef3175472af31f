// sdl_music_backend.cpp - SDL2_mixer playback of the music files.
#include "audio/sdl_music_backend.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int DEVICE_RATE = 44100;
constexpr int DEVICE_CHANNELS = 2;
constexpr int DEVICE_CHUNK_FRAMES = 2048;

// Runs fn with standard error pointed at /dev/null: sound libraries probing
// for a missing device print their complaints there, and a machine without
// sound is not something to complain about.
template <typename Fn>
auto withQuietStderr(Fn fn) {
    fflush(stderr);
    int saved = dup(STDERR_FILENO);
    int null = ::open("/dev/null", O_WRONLY);
    if (saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    auto result = fn();
    if (saved >= 0) {
        fflush(stderr);
        dup2(saved, STDERR_FILENO);
        ::close(saved);
    }
    if (null >= 0) ::close(null);
    return result;
}

}  // namespace

SdlMusicBackend::~SdlMusicBackend() {
    if (music) {
        Mix_HaltMusic();
        Mix_FreeMusic(music);
        music = nullptr;
    }
    if (deviceReady) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool SdlMusicBackend::ensureDevice() {
    if (deviceTried) return deviceReady;
    deviceTried = true;
    // The program never pumps SDL events: keep SDL away from SIGINT/SIGTERM
    // so that they still end the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    deviceReady = withQuietStderr([] {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        if (Mix_OpenAudio(DEVICE_RATE, MIX_DEFAULT_FORMAT, DEVICE_CHANNELS, DEVICE_CHUNK_FRAMES) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        return true;
    });
    return deviceReady;
}

bool SdlMusicBackend::fileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void SdlMusicBackend::open(const std::string& path, const std::string& alias) {
    if (!openAlias.empty() || !ensureDevice()) return;
    Mix_Music* loaded = Mix_LoadMUS(path.c_str());
    if (!loaded) return;  // not a file the mixer can decode
    music = loaded;
    openAlias = alias;
    started = false;
    paused = false;
}

void SdlMusicBackend::playFromStart(const std::string& alias) {
    if (!isOpen(alias)) return;
    // Playing anew starts at the beginning whether the music was playing,
    // paused or over, and clears the pause.
    Mix_HaltMusic();
    if (Mix_PlayMusic(music, 0) != 0) return;
    started = true;
    paused = false;
}

void SdlMusicBackend::play(const std::string& alias) {
    if (!isOpen(alias)) return;
    if (!started) {
        // Opened but never played: the position is the beginning.
        playFromStart(alias);
    } else if (paused) {
        Mix_ResumeMusic();
        paused = false;
    }
    // Otherwise it plays, or has played to its end and stays there.
}

void SdlMusicBackend::playFrom(const std::string& alias, double seconds) {
    if (!isOpen(alias)) return;
    if (started && !paused && Mix_PlayingMusic()) {
        // Already playing: move the stream without restarting the device.
        Mix_SetMusicPosition(seconds);
        return;
    }
    Mix_HaltMusic();
    if (Mix_FadeInMusicPos(music, 0, 0, seconds) != 0) return;
    started = true;
    paused = false;
}

void SdlMusicBackend::stop(const std::string& alias) {
    if (!isOpen(alias) || !started) return;
    Mix_PauseMusic();
    paused = true;
}

void SdlMusicBackend::close(const std::string& alias) {
    if (!isOpen(alias)) return;
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    music = nullptr;
    openAlias.clear();
    started = false;
    paused = false;
}
