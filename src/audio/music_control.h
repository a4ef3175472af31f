// music_control.h - what the rest of the program does with the music: start
// the intro at start-up, switch the music with its key.
#pragma once

class MusicBackend;

// Start-up: makes `app.musicPlayer` (never freed) on the SDL backend, alias
// "techno", and plays "media/intro.mp3" from its start. Silent without the
// file or a sound device.
void startIntroMusic();
// The same on a given backend, which must outlive the player (tests).
void startIntroMusic(MusicBackend& backend);

// The music key: flips `app.musicOn`; on opens "media/01.mp3" in place of
// what was open and plays it from the start, off stops the music.
void musicKey();
