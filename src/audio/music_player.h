// music_player.h - background music by alias: open a file, play it from the
// start or on, stop it, close it.
//
// Each operation first writes its command text into `command` (the text a
// media-control service would be sent; it also names the operation), then
// hands the operation to the backend. All operations use `alias`, so at most
// one music file is open at a time. No result is checked or reported.
#pragma once

#include <string>

class MusicBackend;

// The command texts, in the order the operations are listed. %s is the path
// then the alias for open, the alias for the others.
constexpr const char* MUSIC_CMD_OPEN = "open %s type mpegvideo Alias %s";
constexpr const char* MUSIC_CMD_PLAY_FROM_START = "Play %s from 0";
constexpr const char* MUSIC_CMD_PLAY = "play %s";
constexpr const char* MUSIC_CMD_STOP = "Stop %s";
constexpr const char* MUSIC_CMD_CLOSE = "Close %s";
// Playing from a position, in milliseconds (music following the timeline).
constexpr const char* MUSIC_CMD_PLAY_FROM = "play %s from %s";

class MusicPlayer {
public:
    std::string shortPath;  // the path of the file last opened, as opened
    std::string command;    // the command text last sent
    std::string alias;      // the name the open file goes by

    // The backend is borrowed and must outlive the player.
    explicit MusicPlayer(MusicBackend& backend) : backend(&backend) {}

    // Loads path under the alias in place of whatever was open, not yet
    // playing. A path that names no file changes nothing at all.
    void openFile(const char* path);
    // Plays from the beginning of the file, once.
    void playFromStart();
    // Plays on from where the music is; nothing if it is playing.
    void play();
    // Plays from `seconds` into the file, playing or not.
    void playFrom(double seconds);
    // Stops where it is; the file stays open.
    void stop();
    // Releases the file; harmless when nothing is open.
    void close();

private:
    MusicBackend* backend;
};
