// export_job.h - one render of the scene to a file, a frame at a time.
//
// A frame is what the window's frame is: the idle step (animators advance by
// the play rate) and the display pass, drawn here without the editing aids
// into a frame buffer of the output's size, read back and encoded. A .bvh
// takes the chosen figure's pose instead and needs no GL. The output goes to
// a temporary beside the target and is renamed over it only when complete;
// a cancelled or failed job removes the temporary.
//
// The headless command and the window's menu both drive a job: start(),
// step() until done(), finish() (or cancel()). Needs a current GL context
// for every kind but .bvh. Frames are encoded on a thread of their own
// while the next is drawn (EncoderThread); an error there is reported by
// the next step() or finish().
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/audio_track.h"
#include "export/bvh_writer.h"
#include "export/encoder_thread.h"
#include "export/offscreen_gl.h"
#include "export/render_options.h"
#include "base/safe_file.h"

// The longest film made without --frames, the most --frames takes.
constexpr int kMaxFilmFrames = 1000000;

// The frame count of one full cycle of the longest animation among the
// figures in use at the present play rate, or `fps` (one second) when
// nothing is animated; at most kMaxFilmFrames (`capped` then says so).
int defaultFrameCount(int fps, bool* capped = nullptr);

class ExportJob {
public:
    ~ExportJob() { cancel(); }

    // Opens the output for `o` (o.frames must be set); false with `error`.
    bool start(const RenderOptions& o, std::string& error);
    // Draws and reads back every frame as a render of `o` would, and
    // encodes and writes nothing: what encoding adds is measured against it.
    bool startWithoutEncoding(const RenderOptions& o, std::string& error);
    // Renders and encodes the next frame.
    bool step(std::string& error);
    bool done() const { return done_ >= total_; }
    int framesDone() const { return done_; }
    int framesTotal() const { return total_; }
    // Why the scene's music was left out of the film, if it was; empty otherwise.
    const std::string& warning() const { return warning_; }
    // The last frame a job without encoding drew, RGBA bottom row first.
    const std::vector<std::uint8_t>& unencodedFrame() const { return unencoded_; }
    // Completes the file and renames it into place.
    bool finish(std::string& error);
    // Drops the output; the target keeps whatever it held.
    void cancel();

private:
    void begin(const RenderOptions& o);
    bool drawFrame(bool keep, std::string& error);

    RenderOptions options_;
    AtomicFileWriter writer_;
    EncoderThread encoder_;
    BvhRecorder bvh_;
    std::unique_ptr<FrameTarget> target_;
    std::vector<std::uint8_t> unencoded_;  // the read-back of a job without encoding
    std::string warning_;
    int figure_ = 0;
    int done_ = 0, total_ = 0;
};
