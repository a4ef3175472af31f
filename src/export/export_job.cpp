// export_job.cpp - stepping the scene and handing each frame to the output.
#include "export/export_job.h"

#include <GL/gl.h>

#include <cmath>

#include "core/app_state.h"
#include "scene/frame_clock.h"
#include "scene/reshape.h"
#include "scene/display.h"

namespace {

// The time line of one animator, first pass from its origin included.
float cycleSteps(KeyFrameAnimation& a) {
    if (a.numKeyFrames == 0) return 0;
    a.ensureTimes();
    return a.keyFrames[a.numKeyFrames - 1].endTime;
}

float longestCycle() {
    float longest = 0;
    for (int i = 0; i < app.numPersons; i++) {
        Person& p = app.persons[i];
        longest = std::fmax(longest, cycleSteps(p.kfaPos));
        for (BodyPart& part : p.part) longest = std::fmax(longest, cycleSteps(part.kfa));
    }
    return longest;
}

}  // namespace

int defaultFrameCount(int fps, bool* capped) {
    const double steps = longestCycle();
    const double rate = std::fabs(app.playRate);
    if (capped) *capped = false;
    if (steps <= 0 || rate <= 0) return fps;
    // Keys of a million steps at a slow rate would make a film of years.
    const double frames = std::ceil(steps / rate);
    if (frames <= kMaxFilmFrames) return static_cast<int>(frames);
    if (capped) *capped = true;
    return kMaxFilmFrames;
}

// ---------------------------------------------------------------- the job

void ExportJob::begin(const RenderOptions& o) {
    cancel();
    warning_.clear();
    options_ = o;
    total_ = o.frames;
    done_ = 0;
    figure_ = o.figure >= 0 ? o.figure : app.selectedPerson;
}

bool ExportJob::start(const RenderOptions& o, std::string& error) {
    begin(o);
    if (!writer_.begin(o.output, error)) {
        error = "cannot write '" + o.output + "': " + error;
        return false;
    }
    if (o.kind == OutputKind::Bvh) {
        bvh_.begin(app.persons[figure_]);
        return true;
    }
    target_ = std::make_unique<FrameTarget>();
    FilmMusic music;
    if (!chooseFilmMusic(o, music, warning_, error)) {
        cancel();
        return false;
    }
    encoder_.setMusic(music);
    if (!target_->create(o.width, o.height, error) ||
        !encoder_.start(writer_.descriptor(), o.kind, o.width, o.height, o.fps, error)) {
        cancel();
        return false;
    }
    return true;
}

bool ExportJob::startWithoutEncoding(const RenderOptions& o, std::string& error) {
    begin(o);
    options_.kind = OutputKind::None;
    target_ = std::make_unique<FrameTarget>();
    if (!target_->create(o.width, o.height, error)) {
        cancel();
        return false;
    }
    unencoded_.assign(static_cast<std::size_t>(o.width) * o.height * 4, 0);
    return true;
}

// Draws the next frame; a frame that is kept is read back and queued for the
// encoder. One that is not still goes through the whole display pass, so
// everything a pass moves (the light, a camera tour or drift, the GL light
// position the next frame is lit by) moves as in the film, but under an
// empty scissor box no pixel is computed.
bool ExportJob::drawFrame(bool keep, std::string& error) {
    // The projection and text spacings follow the output's size while it is
    // drawn, and the window's again afterwards.
    const int windowW = static_cast<int>(app.windowWidth);
    const int windowH = static_cast<int>(app.windowHeight);
    target_->bind();
    reshape(options_.width, options_.height);
    if (!keep) {
        GLint box[4];
        glGetIntegerv(GL_SCISSOR_BOX, box);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 0, 0);
        renderFilmFrame();
        glDisable(GL_SCISSOR_TEST);
        glScissor(box[0], box[1], box[2], box[3]);
        target_->unbind();
        reshape(windowW, windowH);
        return true;
    }
    renderFilmFrame();
    glFinish();
    // A free buffer is waited for only now, so the frame before is encoded
    // while this one is drawn.
    const bool encoding = options_.kind != OutputKind::None;
    std::uint8_t* frame = encoding ? encoder_.freeFrame(error) : unencoded_.data();
    if (frame) target_->readRgbaBottomUp(frame);
    target_->unbind();
    reshape(windowW, windowH);
    return frame && (!encoding || encoder_.queueFrame(error));
}

bool ExportJob::step(std::string& error) {
    if (done()) return true;
    idle();
    // A picture keeps only the last frame, the one the film of the same
    // options ends on; the frames before it are drawn without pixels.
    const bool keep = options_.kind != OutputKind::Png || done_ + 1 == total_;
    bool ok = true;
    if (options_.kind == OutputKind::Bvh) bvh_.addFrame(app.persons[figure_]);
    else ok = drawFrame(keep, error);
    if (!ok) {
        cancel();
        return false;
    }
    done_++;
    return true;
}

bool ExportJob::finish(std::string& error) {
    if (options_.kind == OutputKind::None) {
        cancel();
        return true;
    }
    bool ok = true;
    if (options_.kind == OutputKind::Bvh) {
        const std::string text = bvh_.text(1.0 / options_.fps);
        ok = writer_.write(text.data(), text.size(), error);
    } else {
        ok = encoder_.finish(error);
    }
    ok = ok && writer_.commit(error);
    if (!ok) error = "cannot write '" + options_.output + "': " + error;
    cancel();
    return ok;
}

void ExportJob::cancel() {
    encoder_.cancel();
    writer_.abort();
    target_.reset();
    std::vector<std::uint8_t>().swap(unencoded_);
}
