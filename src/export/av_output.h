// av_output.h - what the film encoders share: FFmpeg's error words, and
// sending a frame through an encoder into the container.
#pragma once

#include <string>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

// "what: FFmpeg's words for code".
std::string avError(const char* what, int code);

// Sends `frame` (nullptr drains the encoder) and writes every packet it
// gives, in `stream`'s time base, interleaved with the container's other
// streams. False with `error` ("<failed>: ...") when encoding or writing fails.
bool encodeAndWrite(AVCodecContext* codec, AVFrame* frame, AVPacket* packet, AVStream* stream,
                    AVFormatContext* format, const char* failed, std::string& error);
