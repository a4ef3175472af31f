// music_decode.cpp - FFmpeg reading music through the safe reader.
//
// The container is read from an AVIOContext whose callbacks call
// SafeReadFile::readAt, so no path ever reaches FFmpeg's own file opening.
// Decoded frames go through libswresample into `pending`, from which read()
// hands out as much as it is asked for.
#include "audio/music_decode.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libswresample/swresample.h>
}

#include "base/safe_file.h"

namespace {

constexpr int kIoBufferBytes = 64 * 1024;

std::string avError(const char* what, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return std::string(what) + " (" + text + ")";
}

}  // namespace

struct MusicDecoder::Impl {
    SafeReadFile file;
    std::uint64_t position = 0;  // next byte FFmpeg reads
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    SwrContext* resampler = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int stream = -1;
    int channels = 1;
    int rate = 44100;
    bool inputDone = false;    // no packet left in the file
    bool decoderDone = false;  // the decoder has given its last frame
    bool finished = false;     // the resampler is drained too
    std::vector<float> pending;
    std::size_t pendingAt = 0;  // first unread float of pending

    static int readPacket(void* opaque, std::uint8_t* buffer, int size) {
        Impl* self = static_cast<Impl*>(opaque);
        const std::uint64_t left = self->file.size() - std::min(self->position, self->file.size());
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, static_cast<std::uint64_t>(size)));
        if (n == 0) return AVERROR_EOF;
        if (!self->file.readAt(self->position, buffer, n)) return AVERROR(EIO);
        self->position += n;
        return static_cast<int>(n);
    }

    static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
        Impl* self = static_cast<Impl*>(opaque);
        const std::int64_t size = static_cast<std::int64_t>(self->file.size());
        std::int64_t to = 0;
        switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE: return size;
        case SEEK_SET: to = offset; break;
        case SEEK_CUR: to = static_cast<std::int64_t>(self->position) + offset; break;
        case SEEK_END: to = size + offset; break;
        default: return -1;
        }
        if (to < 0 || to > size) return -1;
        self->position = static_cast<std::uint64_t>(to);
        return to;
    }

    bool openStreams(const std::string& path, std::string& error);
    // Converts `in` (null: drain) and appends to pending; false on failure.
    bool resample(const AVFrame* in, std::string& error);
    // Decodes until pending grows or the music ends; false on failure.
    bool fill(std::string& error);
};

bool MusicDecoder::Impl::openStreams(const std::string& path, std::string& error) {
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferBytes));
    if (!buffer) { error = "out of memory"; return false; }
    io = avio_alloc_context(buffer, kIoBufferBytes, 0, this, readPacket, nullptr, seek);
    format = avformat_alloc_context();
    if (!io || !format) {
        if (!io) av_free(buffer);
        error = "out of memory";
        return false;
    }
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    // The path only hints at the container; the bytes come through `io`.
    int rc = avformat_open_input(&format, path.c_str(), nullptr, nullptr);
    if (rc < 0) {
        format = nullptr;  // freed by the failed open
        error = "is not a sound file FFmpeg can read";
        return false;
    }
    if ((rc = avformat_find_stream_info(format, nullptr)) < 0) {
        error = avError("is damaged", rc);
        return false;
    }
    const AVCodec* decoder = nullptr;
    stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (stream < 0 || !decoder) {
        error = stream == AVERROR_DECODER_NOT_FOUND ? "holds sound in a form FFmpeg cannot decode"
                                                    : "holds no sound";
        return false;
    }
    codec = avcodec_alloc_context3(decoder);
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    if (!codec || !packet || !frame) { error = "out of memory"; return false; }
    if ((rc = avcodec_parameters_to_context(codec, format->streams[stream]->codecpar)) < 0 ||
        (rc = avcodec_open2(codec, decoder, nullptr)) < 0) {
        error = avError("holds sound the decoder refuses", rc);
        return false;
    }
    if (codec->sample_rate <= 0 || codec->ch_layout.nb_channels <= 0) {
        error = "holds sound of no rate or no channels";
        return false;
    }
    // Some files (WAV among them) give a count of channels but no layout.
    AVChannelLayout inLayout;
    if (codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&inLayout, codec->ch_layout.nb_channels);
    else if (av_channel_layout_copy(&inLayout, &codec->ch_layout) < 0) {
        error = "out of memory";
        return false;
    }
    AVChannelLayout outLayout;
    av_channel_layout_default(&outLayout, channels);
    rc = swr_alloc_set_opts2(&resampler, &outLayout, AV_SAMPLE_FMT_FLT, rate, &inLayout, codec->sample_fmt,
                             codec->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    av_channel_layout_uninit(&outLayout);
    if (rc < 0 || !resampler || (rc = swr_init(resampler)) < 0) {
        error = avError("cannot be resampled", rc);
        return false;
    }
    return true;
}

bool MusicDecoder::Impl::resample(const AVFrame* in, std::string& error) {
    const int inSamples = in ? in->nb_samples : 0;
    const int room = swr_get_out_samples(resampler, inSamples);
    if (room < 0) { error = "resampling failed"; return false; }
    if (room == 0) return true;
    // Drop what was read already, so pending holds at most a frame or two.
    if (pendingAt > 0) {
        pending.erase(pending.begin(), pending.begin() + static_cast<long>(pendingAt));
        pendingAt = 0;
    }
    const std::size_t had = pending.size();
    pending.resize(had + static_cast<std::size_t>(room) * channels);
    std::uint8_t* out[1] = {reinterpret_cast<std::uint8_t*>(pending.data() + had)};
    const int got = swr_convert(resampler, out, room, in ? const_cast<const std::uint8_t**>(in->extended_data) : nullptr,
                                inSamples);
    if (got < 0) {
        pending.resize(had);
        error = avError("resampling failed", got);
        return false;
    }
    pending.resize(had + static_cast<std::size_t>(got) * channels);
    return true;
}

bool MusicDecoder::Impl::fill(std::string& error) {
    const std::size_t before = pending.size() - pendingAt;
    while (!finished && pending.size() - pendingAt == before) {
        int rc = avcodec_receive_frame(codec, frame);
        if (rc == 0) {
            const bool ok = resample(frame, error);
            av_frame_unref(frame);
            if (!ok) return false;
            continue;
        }
        if (rc == AVERROR_EOF) {
            decoderDone = true;
            if (!resample(nullptr, error)) return false;
            finished = true;
            break;
        }
        if (rc != AVERROR(EAGAIN)) { error = avError("cannot be decoded", rc); return false; }
        if (inputDone) {
            avcodec_send_packet(codec, nullptr);  // drains the decoder
            continue;
        }
        rc = av_read_frame(format, packet);
        if (rc == AVERROR_EOF) {
            inputDone = true;
            avcodec_send_packet(codec, nullptr);
            continue;
        }
        if (rc < 0) { error = avError("cannot be read", rc); return false; }
        // A damaged packet is skipped, as any player would: the rest plays.
        if (packet->stream_index == stream) avcodec_send_packet(codec, packet);
        av_packet_unref(packet);
    }
    return true;
}

MusicDecoder::MusicDecoder() = default;
MusicDecoder::~MusicDecoder() { close(); }

void MusicDecoder::close() {
    if (!impl_) return;
    Impl& d = *impl_;
    swr_free(&d.resampler);
    av_frame_free(&d.frame);
    av_packet_free(&d.packet);
    avcodec_free_context(&d.codec);
    avformat_close_input(&d.format);
    if (d.io) {
        av_freep(&d.io->buffer);
        avio_context_free(&d.io);
    }
    impl_.reset();
}

bool MusicDecoder::open(const std::string& path, int sampleRate, int channels, std::string& error) {
    close();
    av_log_set_level(AV_LOG_ERROR);
    impl_ = std::make_unique<Impl>();
    impl_->rate = sampleRate;
    impl_->channels = channels == 2 ? 2 : 1;
    bool ok = impl_->file.open(path, kMaxMusicFileBytes, error) && impl_->openStreams(path, error);
    if (!ok) close();
    return ok;
}

long MusicDecoder::read(float* out, long frames, std::string& error) {
    if (!impl_) { error = "no music is open"; return -1; }
    Impl& d = *impl_;
    long done = 0;
    while (done < frames) {
        const std::size_t available = (d.pending.size() - d.pendingAt) / static_cast<std::size_t>(d.channels);
        if (available == 0) {
            if (d.finished) break;
            if (!d.fill(error)) return -1;
            continue;
        }
        const long n = std::min<long>(frames - done, static_cast<long>(available));
        const std::size_t floats = static_cast<std::size_t>(n) * d.channels;
        if (out) std::memcpy(out + static_cast<std::size_t>(done) * d.channels, d.pending.data() + d.pendingAt,
                             floats * sizeof(float));
        d.pendingAt += floats;
        done += n;
    }
    return done;
}

bool MusicDecoder::skip(long frames, std::string& error) {
    return frames <= 0 || read(nullptr, frames, error) >= 0;
}

double MusicDecoder::statedSeconds() const {
    if (!impl_ || !impl_->format || impl_->format->duration <= 0) return 0;
    return static_cast<double>(impl_->format->duration) / AV_TIME_BASE;
}

bool decodeMono(const std::string& path, int sampleRate, std::vector<float>& out, std::string& error) {
    MusicDecoder decoder;
    out.clear();
    if (!decoder.open(path, sampleRate, 1, error)) return false;
    constexpr long kBlock = 16384;
    for (;;) {
        const std::size_t had = out.size();
        out.resize(had + kBlock);
        const long got = decoder.read(out.data() + had, kBlock, error);
        if (got < 0) return false;
        out.resize(had + static_cast<std::size_t>(got));
        if (got < kBlock) return true;
    }
}
