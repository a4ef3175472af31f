// audio_track.h - the music of a film: an AAC (.mp4) or Opus (.webm) stream
// beside the pictures, made from a music file.
//
// The film's sound at film time s is the music at start + s seconds: before
// the music's beginning (a negative start) and after its end it is silence,
// so the sound is always exactly as long as the pictures. The video encoder
// owns the container; it asks for sound up to the end of each frame it has
// written, so the muxer interleaves the two streams as they come.
#pragma once

#include <string>
#include <vector>

#include "audio/music_decode.h"
#include "export/render_options.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwrContext;

// What a film plays: no path is a silent film.
struct FilmMusic {
    std::string path;
    double startSeconds = 0;  // music position at the film's first frame
};

// The music a render of the present scene carries: none for a .gif, a .png,
// a .bvh or --no-music; else the --music file or the scene's music, from
// the scene's offset plus the selected figure's time. `warning` says why a
// scene's music was left out (it cannot be read); false with `error` when a
// --music file cannot be read.
bool chooseFilmMusic(const RenderOptions& o, FilmMusic& music, std::string& warning, std::string& error);

class AudioTrack {
public:
    static constexpr int kRate = 48000;
    static constexpr int kChannels = 2;

    AudioTrack() = default;
    AudioTrack(const AudioTrack&) = delete;
    AudioTrack& operator=(const AudioTrack&) = delete;
    ~AudioTrack() { close(); }

    // Adds the sound stream for `kind` to `format`, before its header is
    // written; false with `error` when the music or the encoder fails.
    bool open(AVFormatContext* format, OutputKind kind, const FilmMusic& music, std::string& error);
    bool active() const { return codec_ != nullptr; }
    // Encodes the sound up to `seconds` of film, whole encoder frames only.
    bool writeUntil(double seconds, std::string& error);
    // Encodes the rest up to exactly `seconds` and drains the encoder.
    bool finish(double seconds, std::string& error);
    void close();

private:
    bool encodeFrame(int samples, std::string& error);
    bool send(AVFrame* frame, std::string& error);
    // Fills `block` with the next `samples` frames of music or silence.
    bool nextSamples(int samples, std::string& error);

    AVFormatContext* format_ = nullptr;  // borrowed from the video encoder
    AVCodecContext* codec_ = nullptr;
    AVStream* stream_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    SwrContext* converter_ = nullptr;  // interleaved float to the encoder's format
    MusicDecoder decoder_;
    long long silenceBefore_ = 0;      // samples of silence before the music starts
    bool musicEnded_ = false;
    long long written_ = 0;            // samples sent to the encoder
    int frameSize_ = 1024;             // samples the encoder takes at a time
    std::vector<float> block_;
};
