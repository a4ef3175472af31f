// av_output.cpp - FFmpeg's error words and the encode-and-write loop.
#include "export/av_output.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

std::string avError(const char* what, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return std::string(what) + ": " + text;
}

bool encodeAndWrite(AVCodecContext* codec, AVFrame* frame, AVPacket* packet, AVStream* stream,
                    AVFormatContext* format, const char* failed, std::string& error) {
    int rc = avcodec_send_frame(codec, frame);
    if (rc < 0) { error = avError(failed, rc); return false; }
    for (;;) {
        rc = avcodec_receive_packet(codec, packet);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
        if (rc < 0) { error = avError(failed, rc); return false; }
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        rc = av_interleaved_write_frame(format, packet);
        if (rc < 0) { error = avError("writing the output failed", rc); return false; }
    }
}
