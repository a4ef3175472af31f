// audio_track.cpp - music decoded, converted and encoded beside the pictures.
#include "export/audio_track.h"

#include "export/av_output.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libswresample/swresample.h>
}

#include "core/app_state.h"
#include "audio/music_follow.h"

namespace {

// The first encoder FFmpeg has, in order of preference, for each container.
struct SoundRecipe {
    OutputKind kind;
    const char* encoders[2];
    long bitRate;
};

constexpr SoundRecipe kSoundRecipes[] = {
    {OutputKind::Mp4, {"aac", nullptr}, 160000},
    {OutputKind::Webm, {"libopus", "libvorbis"}, 128000},
};

const AVCodec* soundEncoderFor(OutputKind kind) {
    for (const SoundRecipe& r : kSoundRecipes)
        if (r.kind == kind)
            for (const char* name : r.encoders)
                if (const AVCodec* c = name ? avcodec_find_encoder_by_name(name) : nullptr) return c;
    return nullptr;
}

long bitRateFor(OutputKind kind) {
    for (const SoundRecipe& r : kSoundRecipes)
        if (r.kind == kind) return r.bitRate;
    return 128000;
}

// The encoder's own sample format, floats preferred.
AVSampleFormat sampleFormatFor(const AVCodec* c) {
    if (!c->sample_fmts) return AV_SAMPLE_FMT_FLTP;
    for (const AVSampleFormat* f = c->sample_fmts; *f != AV_SAMPLE_FMT_NONE; f++)
        if (*f == AV_SAMPLE_FMT_FLTP || *f == AV_SAMPLE_FMT_FLT) return *f;
    return c->sample_fmts[0];
}

long long samplesAt(double seconds) { return std::llround(seconds * AudioTrack::kRate); }

}  // namespace

// ---------------------------------------------------------------- choosing

bool chooseFilmMusic(const RenderOptions& o, FilmMusic& music, std::string& warning, std::string& error) {
    music = FilmMusic();
    if ((o.kind != OutputKind::Mp4 && o.kind != OutputKind::Webm) || o.noMusic) return true;
    const bool asked = !o.music.empty();
    const std::string path = asked ? o.music : app.sceneMusicFile;
    if (path.empty()) return true;
    // Read the header now, so a file that is no music is known before a frame is drawn.
    MusicDecoder probe;
    std::string why;
    if (!probe.open(path, AudioTrack::kRate, AudioTrack::kChannels, why)) {
        if (asked) {
            error = "music file '" + path + "' " + why;
            return false;
        }
        warning = "the scene's music '" + path + "' " + why + "; the film is silent";
        return true;
    }
    music.path = path;
    music.startSeconds = sceneMusicPosition();
    return true;
}

// ---------------------------------------------------------------- opening

bool AudioTrack::open(AVFormatContext* format, OutputKind kind, const FilmMusic& music, std::string& error) {
    close();
    format_ = format;
    const AVCodec* encoder = soundEncoderFor(kind);
    if (!encoder) { error = "FFmpeg has no sound encoder for this kind of film"; return false; }
    if (!decoder_.open(music.path, kRate, kChannels, error)) {
        error = "music file '" + music.path + "' " + error;
        return false;
    }
    if (music.startSeconds > 0) {
        if (!decoder_.skip(static_cast<long>(samplesAt(music.startSeconds)), error)) return false;
    } else {
        silenceBefore_ = samplesAt(-music.startSeconds);
    }

    stream_ = avformat_new_stream(format, nullptr);
    codec_ = avcodec_alloc_context3(encoder);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!stream_ || !codec_ || !frame_ || !packet_) { error = "out of memory"; return false; }
    codec_->sample_rate = kRate;
    codec_->sample_fmt = sampleFormatFor(encoder);
    av_channel_layout_default(&codec_->ch_layout, kChannels);
    codec_->bit_rate = bitRateFor(kind);
    codec_->time_base = AVRational{1, kRate};
    if (format->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int rc = avcodec_open2(codec_, encoder, nullptr);
    if (rc < 0) { error = avError("the sound encoder refused the settings", rc); return false; }
    stream_->time_base = codec_->time_base;
    if ((rc = avcodec_parameters_from_context(stream_->codecpar, codec_)) < 0) {
        error = avError("sound stream parameters", rc);
        return false;
    }

    frame_->format = codec_->sample_fmt;
    frame_->sample_rate = kRate;
    // Encoders that take any frame size (frame_size 0) get 1024, as AAC's.
    frameSize_ = codec_->frame_size > 0 ? codec_->frame_size : 1024;
    frame_->nb_samples = frameSize_;
    if ((rc = av_channel_layout_copy(&frame_->ch_layout, &codec_->ch_layout)) < 0 ||
        (rc = av_frame_get_buffer(frame_, 0)) < 0) {
        error = avError("sound frame buffer", rc);
        return false;
    }
    rc = swr_alloc_set_opts2(&converter_, &codec_->ch_layout, codec_->sample_fmt, kRate, &codec_->ch_layout,
                             AV_SAMPLE_FMT_FLT, kRate, 0, nullptr);
    if (rc < 0 || !converter_ || (rc = swr_init(converter_)) < 0) {
        error = avError("the sound cannot be converted for the encoder", rc);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- encoding

bool AudioTrack::nextSamples(int samples, std::string& error) {
    block_.assign(static_cast<std::size_t>(samples) * kChannels, 0.0f);
    int at = 0;
    if (silenceBefore_ > 0) {
        at = static_cast<int>(std::min<long long>(silenceBefore_, samples));
        silenceBefore_ -= at;
    }
    if (at < samples && !musicEnded_) {
        const long got = decoder_.read(block_.data() + static_cast<std::size_t>(at) * kChannels, samples - at, error);
        if (got < 0) return false;
        if (got < samples - at) musicEnded_ = true;  // the rest stays silent
    }
    return true;
}

bool AudioTrack::encodeFrame(int samples, std::string& error) {
    if (!nextSamples(samples, error)) return false;
    if (av_frame_make_writable(frame_) < 0) { error = "the sound frame is busy"; return false; }
    frame_->nb_samples = samples;
    const std::uint8_t* in[1] = {reinterpret_cast<const std::uint8_t*>(block_.data())};
    const int rc = swr_convert(converter_, frame_->data, samples, in, samples);
    if (rc != samples) { error = avError("converting the sound failed", rc < 0 ? rc : AVERROR_BUG); return false; }
    frame_->pts = written_;
    written_ += samples;
    return send(frame_, error);
}

bool AudioTrack::send(AVFrame* frame, std::string& error) {
    return encodeAndWrite(codec_, frame, packet_, stream_, format_, "encoding the sound failed", error);
}

bool AudioTrack::writeUntil(double seconds, std::string& error) {
    if (!codec_) return true;
    const long long target = samplesAt(seconds);
    while (written_ + frameSize_ <= target)
        if (!encodeFrame(frameSize_, error)) return false;
    return true;
}

bool AudioTrack::finish(double seconds, std::string& error) {
    if (!codec_) return true;
    if (!writeUntil(seconds, error)) return false;
    // The last frame may be short: the encoder pads it, the container trims it.
    const long long rest = samplesAt(seconds) - written_;
    if (rest > 0 && !encodeFrame(static_cast<int>(rest), error)) return false;
    return send(nullptr, error);
}

void AudioTrack::close() {
    swr_free(&converter_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
    decoder_.close();
    format_ = nullptr;
    stream_ = nullptr;
    silenceBefore_ = 0;
    written_ = 0;
    musicEnded_ = false;
    std::vector<float>().swap(block_);
}
