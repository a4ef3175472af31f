// video_encoder.cpp - the FFmpeg side: codec, muxer, colour conversion.
//
// Moving pictures: RGBA is converted to yuv420p by libswscale (H.264, VP9)
// or mapped onto a palette by libavfilter (GIF), sent to the codec,
// and every packet that comes back is interleaved into the container. One
// picture: the last frame is kept and encoded as PNG at finish(). GL's rows
// run bottom up; the scaler reads them from the last row with a negative
// stride, so no frame is flipped by hand.
#include "export/video_encoder.h"

#include "export/av_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

struct Recipe {
    OutputKind kind;
    const char* muxer;
    const char* encoder;
    AVPixelFormat pixels;
};

constexpr Recipe kRecipes[] = {
    {OutputKind::Mp4, "mp4", "libx264", AV_PIX_FMT_YUV420P},
    {OutputKind::Webm, "webm", "libvpx-vp9", AV_PIX_FMT_YUV420P},
    {OutputKind::Gif, "gif", "gif", AV_PIX_FMT_PAL8},
    {OutputKind::Png, "image2", "png", AV_PIX_FMT_RGB24},
};

const Recipe* recipeFor(OutputKind kind) {
    for (const Recipe& r : kRecipes)
        if (r.kind == kind) return &r;
    return nullptr;
}

// Speed over size: a render should cost little beside drawing the frame.
void tuneEncoder(AVCodecContext* c, OutputKind kind) {
    if (kind == OutputKind::Mp4) {
        av_opt_set(c->priv_data, "preset", "ultrafast", 0);
        av_opt_set(c->priv_data, "crf", "20", 0);
        // The encoder already runs beside the drawing; x264's own frame
        // threads would add about a quarter to its CPU time at 1280 x 720.
        c->thread_count = 1;
    } else if (kind == OutputKind::Webm) {
        av_opt_set(c->priv_data, "deadline", "realtime", 0);
        av_opt_set(c->priv_data, "cpu-used", "8", 0);
        av_opt_set(c->priv_data, "crf", "32", 0);
        av_opt_set_int(c->priv_data, "row-mt", 1, 0);
        c->bit_rate = 0;
    }
}

// A scaler that only changes the pixel format, limited-range BT.601 out.
// Area filtering makes each chroma sample the mean of its 2 x 2 pixels, the
// right filter for halving. Taking the chroma of every pixel first and
// halving it by that filter costs about half the instructions of halving RGB
// pairs first, and with accurate rounding every sample is within half a
// step of the exact value.
SwsContext* converterTo(AVPixelFormat to, int width, int height) {
    constexpr int kFlags = SWS_AREA | SWS_FULL_CHR_H_INP | SWS_ACCURATE_RND;
    SwsContext* c = sws_getContext(width, height, AV_PIX_FMT_RGBA, width, height, to, kFlags,
                                   nullptr, nullptr, nullptr);
    if (c && to == AV_PIX_FMT_YUV420P) {
        const int* bt601 = sws_getCoefficients(SWS_CS_ITU601);
        sws_setColorspaceDetails(c, bt601, 1, bt601, 0, 0, 1 << 16, 1 << 16);
    }
    return c;
}

// Converts one bottom-up RGBA picture into `frame`, top row first.
void convertFlipped(SwsContext* c, const std::uint8_t* rgba, int width, int height, AVFrame* frame) {
    const int row = width * 4;
    const std::uint8_t* const last[1] = {rgba + static_cast<std::size_t>(row) * (height - 1)};
    const int stride[1] = {-row};
    sws_scale(c, last, stride, 0, height, frame->data, frame->linesize);
}

// ---- output through a descriptor
// FFmpeg writes the descriptor it is given, never a file it opens by name.

int writeToDescriptor(void* opaque, uint8_t* data, int size) {
    const int fd = *static_cast<int*>(opaque);
    int left = size;
    while (left > 0) {
        const ssize_t put = ::write(fd, data, static_cast<std::size_t>(left));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return put < 0 ? AVERROR(errno) : AVERROR(EIO);
        data += put;
        left -= static_cast<int>(put);
    }
    return size;
}

int64_t seekDescriptor(void* opaque, int64_t offset, int whence) {
    const int fd = *static_cast<int*>(opaque);
    if (whence == AVSEEK_SIZE) {
        struct stat st;
        return fstat(fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : AVERROR(errno);
    }
    const off_t at = lseek(fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : static_cast<int64_t>(at);
}

constexpr int kIoBufferBytes = 1 << 16;

// An AVIOContext over `*fd` (which must outlive it); nullptr when out of memory.
AVIOContext* descriptorOutput(int* fd) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
    if (!buffer) return nullptr;
    AVIOContext* io = avio_alloc_context(buffer, kIoBufferBytes, 1, fd, nullptr, writeToDescriptor,
                                         seekDescriptor);
    if (!io) av_free(buffer);
    return io;
}

void freeDescriptorOutput(AVIOContext** io) {
    if (!*io) return;
    av_freep(&(*io)->buffer);
    avio_context_free(io);
}

}  // namespace

// ---------------------------------------------------------------- opening

bool VideoEncoder::open(int fd, OutputKind kind, int width, int height, int fps,
                        std::string& error) {
    close();
    // The encoders' own statistics would break up the progress bar.
    av_log_set_level(AV_LOG_ERROR);
    kind_ = kind;
    fd_ = fd;
    width_ = width;
    height_ = height;
    fps_ = fps;
    frames_ = 0;
    const bool ok = kind == OutputKind::Png ? openPicture(error) : openStream(error);
    if (!ok) close();
    return ok;
}

bool VideoEncoder::openPicture(std::string&) {
    picture_.assign(static_cast<std::size_t>(width_) * height_ * 4, 0);
    return true;
}

bool VideoEncoder::openStream(std::string& error) {
    const Recipe* r = recipeFor(kind_);
    if (!r) { error = "not a video type"; return false; }
    int rc = avformat_alloc_output_context2(&format_, nullptr, r->muxer, nullptr);
    if (rc < 0 || !format_) { error = avError("no container", rc); return false; }
    const AVCodec* codec = avcodec_find_encoder_by_name(r->encoder);
    if (!codec) { error = std::string("FFmpeg has no ") + r->encoder + " encoder"; return false; }
    stream_ = avformat_new_stream(format_, nullptr);
    codec_ = avcodec_alloc_context3(codec);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!stream_ || !codec_ || !frame_ || !packet_) { error = "out of memory"; return false; }

    codec_->width = width_;
    codec_->height = height_;
    codec_->time_base = AVRational{1, fps_};
    codec_->framerate = AVRational{fps_, 1};
    codec_->pix_fmt = r->pixels;
    codec_->gop_size = 2 * fps_;
    // What the conversion produces, so players turn it back into the same RGB.
    // All three are named: a player that finds primaries or transfer
    // "unspecified" may guess them from the picture size (BT.709 for HD) and
    // shift every colour.
    if (r->pixels == AV_PIX_FMT_YUV420P) {
        codec_->color_range = AVCOL_RANGE_MPEG;
        codec_->colorspace = AVCOL_SPC_SMPTE170M;
        codec_->color_primaries = AVCOL_PRI_SMPTE170M;
        codec_->color_trc = AVCOL_TRC_SMPTE170M;
    }
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    tuneEncoder(codec_, kind_);
    if ((rc = avcodec_open2(codec_, codec, nullptr)) < 0) {
        error = avError("the encoder refused the settings", rc);
        return false;
    }
    stream_->time_base = codec_->time_base;
    stream_->avg_frame_rate = codec_->framerate;
    if ((rc = avcodec_parameters_from_context(stream_->codecpar, codec_)) < 0) {
        error = avError("stream parameters", rc);
        return false;
    }

    frame_->format = codec_->pix_fmt;
    frame_->width = width_;
    frame_->height = height_;
    if ((rc = av_frame_get_buffer(frame_, 0)) < 0) { error = avError("frame buffer", rc); return false; }
    if (kind_ == OutputKind::Gif) {
        auto sink = [this](AVFrame* f, std::string& e) { return encodeFrame(f, e); };
        if (!gif_.open(width_, height_, fps_, sink, error)) return false;
    } else if (!(scaler_ = converterTo(r->pixels, width_, height_))) {
        error = "libswscale cannot convert the frames";
        return false;
    }

    if (!music_.path.empty() && !audio_.open(format_, kind_, music_, error)) return false;
    if (!(format_->pb = descriptorOutput(&fd_))) { error = "out of memory"; return false; }
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;
    if ((rc = avformat_write_header(format_, nullptr)) < 0) {
        error = avError("cannot start the container", rc);
        return false;
    }
    headerWritten_ = true;
    return true;
}

// ---------------------------------------------------------------- frames

bool VideoEncoder::convert(const std::uint8_t* rgba) {
    if (av_frame_make_writable(frame_) < 0) return false;
    convertFlipped(scaler_, rgba, width_, height_, frame_);
    return true;
}

// Numbers the frame in film order and sends it to the codec.
bool VideoEncoder::encodeFrame(AVFrame* frame, std::string& error) {
    frame->pts = frames_;
    if (!send(frame, error)) return false;
    frames_++;
    // The sound keeps up with the pictures, frame by frame.
    return audio_.writeUntil(static_cast<double>(frames_) / fps_, error);
}

bool VideoEncoder::send(AVFrame* frame, std::string& error) {
    return encodeAndWrite(codec_, frame, packet_, stream_, format_, "encoding failed", error);
}

bool VideoEncoder::addFrame(const std::uint8_t* rgba, std::string& error) {
    if (kind_ == OutputKind::Png) {
        if (picture_.empty()) { error = "the encoder is not open"; return false; }
        std::copy(rgba, rgba + picture_.size(), picture_.begin());
        frames_ = 1;
        return true;
    }
    if (!codec_) { error = "the encoder is not open"; return false; }
    // A GIF's frames come back from its palette graph, the first second late.
    if (kind_ == OutputKind::Gif) return gif_.add(rgba, error);
    if (!convert(rgba)) { error = "the frame buffer is busy"; return false; }
    return encodeFrame(frame_, error);
}

// ---------------------------------------------------------------- finishing

// One PNG of the kept frame, written whole through the descriptor.
bool VideoEncoder::writePicture(std::string& error) {
    if (frames_ == 0) { error = "no frame was drawn"; return false; }
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
    AVCodecContext* c = codec ? avcodec_alloc_context3(codec) : nullptr;
    AVFrame* f = av_frame_alloc();
    AVPacket* p = av_packet_alloc();
    AVIOContext* io = nullptr;
    SwsContext* toRgb = nullptr;
    bool ok = false;
    int rc = 0;
    if (!c || !f || !p) {
        error = "FFmpeg has no PNG encoder";
    } else {
        c->width = width_;
        c->height = height_;
        c->pix_fmt = AV_PIX_FMT_RGB24;
        c->time_base = AVRational{1, fps_};
        f->format = AV_PIX_FMT_RGB24;
        f->width = width_;
        f->height = height_;
        // Alpha is dropped: blending leaves coverage there, not transparency.
        toRgb = converterTo(AV_PIX_FMT_RGB24, width_, height_);
        if (!toRgb) {
            error = "libswscale cannot convert the picture";
        } else if ((rc = avcodec_open2(c, codec, nullptr)) < 0 || (rc = av_frame_get_buffer(f, 0)) < 0) {
            error = avError("the PNG encoder refused the picture", rc);
        } else {
            convertFlipped(toRgb, picture_.data(), width_, height_, f);
            if ((rc = avcodec_send_frame(c, f)) < 0 || (rc = avcodec_receive_packet(c, p)) < 0) {
                error = avError("PNG encoding failed", rc);
            } else if (!(io = descriptorOutput(&fd_))) {
                error = "out of memory";
            } else {
                avio_write(io, p->data, p->size);
                avio_flush(io);
                ok = io->error == 0;
                if (!ok) error = avError("writing the output failed", io->error);
                freeDescriptorOutput(&io);
            }
        }
    }
    sws_freeContext(toRgb);
    av_packet_free(&p);
    av_frame_free(&f);
    avcodec_free_context(&c);
    return ok;
}

bool VideoEncoder::finish(std::string& error) {
    if (kind_ == OutputKind::Png) {
        const bool ok = writePicture(error);
        close();
        return ok;
    }
    if (!codec_ || !headerWritten_) { error = "the encoder is not open"; return false; }
    bool ok = kind_ != OutputKind::Gif || gif_.finish(error);
    ok = ok && send(nullptr, error);
    ok = ok && audio_.finish(static_cast<double>(frames_) / fps_, error);
    if (ok) {
        const int rc = av_write_trailer(format_);
        if (rc < 0) { error = avError("cannot complete the container", rc); ok = false; }
        headerWritten_ = false;
    }
    if (ok && format_->pb && format_->pb->error < 0) {
        error = avError("writing the output failed", format_->pb->error);
        ok = false;
    }
    close();
    return ok;
}

void VideoEncoder::close() {
    if (format_) {
        if (format_->pb) avio_flush(format_->pb);
        freeDescriptorOutput(&format_->pb);
        avformat_free_context(format_);
        format_ = nullptr;
    }
    avcodec_free_context(&codec_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    gif_.close();
    audio_.close();
    sws_freeContext(scaler_);
    scaler_ = nullptr;
    stream_ = nullptr;
    headerWritten_ = false;
    picture_.clear();
    picture_.shrink_to_fit();
}
