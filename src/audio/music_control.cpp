// music_control.cpp - the intro at start-up and the music key.
#include "audio/music_control.h"

#include "core/app_state.h"
#include "audio/music_player.h"
#include "audio/sdl_music_backend.h"
#include "base/data_folder.h"

namespace {
constexpr const char* MUSIC_ALIAS = "techno";
constexpr const char* INTRO_MUSIC = "media/intro.mp3";
constexpr const char* KEY_MUSIC = "media/01.mp3";
}  // namespace

void startIntroMusic() {
    // Lives, like the player, to the end of the process.
    startIntroMusic(*new SdlMusicBackend());
}

void startIntroMusic(MusicBackend& backend) {
    app.musicPlayer = new MusicPlayer(backend);
    app.musicPlayer->alias = MUSIC_ALIAS;
    app.musicPlayer->openFile(dataFile(INTRO_MUSIC).c_str());
    app.musicPlayer->playFromStart();
    app.musicPlayer->play();
}

void musicKey() {
    app.musicOn = !app.musicOn;
    // Before start-up made the player there is nothing to switch.
    if (!app.musicPlayer) return;
    if (app.musicOn) {
        app.musicPlayer->openFile(dataFile(KEY_MUSIC).c_str());
        app.musicPlayer->playFromStart();
    } else {
        app.musicPlayer->stop();
    }
}
