// bench_render.cpp - the render to a file against the interactive frame, at
// 1280 x 720, for 1 and 45 dancing figures, in one run:
//
//   BM_InteractiveFrame  the window's frame: idle and display passes, finished
//   BM_RenderFrame       one output frame of a render: idle, drawing into the
//                        frame buffer, read-back and hand-over to the encoder
//                        thread (kind:1 .mp4, 2 .webm, 3 .gif); kind:0 is the
//                        same render with the encoder switched off, so the
//                        difference is the wall time encoding adds to a frame
//                        (wall time; the CPU column is the whole process's)
//   BM_Encode            the encoder alone on frames drawn beforehand
//                        (process CPU time, so encoder threads count)
//
// The render encodes a frame while the next is drawn, so its steady pace is
// the slower of the two; the few frames still queued when the loop ends
// (three at most, among hundreds) go uncounted.
//
// Runs in a GLUT window under a virtual X server (bench/run_render_bench.sh)
// because the interactive frame draws GLUT's bitmap text; the render draws
// into a frame buffer of that window's context, as the menu's export does.
// The repository root must be the working directory.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/app_state.h"
#include "scene/frame_clock.h"
#include "base/platform.h"
#include "scene/reshape.h"
#include "scene/scene_init.h"
#include "export/export_job.h"
#include "export/offscreen_gl.h"
#include "export/video_encoder.h"
#include "scene/display.h"
#include "dancers.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kStoredFrames = 25;

int lateClock() { return 60000 + glutGet(GLUT_ELAPSED_TIME); }

void BM_InteractiveFrame(benchmark::State& state) {
    setUpDancers(static_cast<int>(state.range(0)), false);
    reshape(kWidth, kHeight);
    for (int i = 0; i < 20; i++) { idle(); display(); glFinish(); }
    for (auto _ : state) {
        idle();
        display();
        glFinish();
    }
}

const char* const kKindNames[] = {"none", "mp4", "webm", "gif"};

void BM_RenderFrame(benchmark::State& state) {
    const auto kind = static_cast<OutputKind>(state.range(0));
    setUpDancers(static_cast<int>(state.range(1)), false);
    RenderOptions o;
    o.output = std::string("/tmp/puppetorium-bench-render.") + kKindNames[state.range(0)];
    o.kind = kind;
    o.frames = 1000000;
    ExportJob job;
    std::string error;
    const bool started = kind == OutputKind::None ? job.startWithoutEncoding(o, error)
                                                  : job.start(o, error);
    if (!started) {
        state.SkipWithError(error.c_str());
        return;
    }
    // Past the GIF's first second, which its palette graph holds back.
    for (int i = 0; i < 30; i++) job.step(error);
    for (auto _ : state)
        if (!job.step(error)) state.SkipWithError(error.c_str());
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(kKindNames[state.range(0)]);
    job.cancel();
}

// Frames of the dancing scene as the render reads them back.
const std::vector<std::vector<std::uint8_t>>& storedFrames(int persons) {
    static std::vector<std::vector<std::uint8_t>> frames;
    static int madeFor = -1;
    if (madeFor == persons) return frames;
    setUpDancers(persons, false);
    FrameTarget target;
    std::string error;
    target.create(kWidth, kHeight, error);
    frames.assign(kStoredFrames, {});
    for (auto& f : frames) {
        idle();
        target.bind();
        reshape(kWidth, kHeight);
        renderFilmFrame();
        target.readRgbaBottomUp(f);
        target.unbind();
    }
    madeFor = persons;
    return frames;
}

void BM_Encode(benchmark::State& state) {
    const auto kind = static_cast<OutputKind>(state.range(0));
    const auto& frames = storedFrames(static_cast<int>(state.range(1)));
    const std::string path = std::string("/tmp/puppetorium-bench-encode.") +
                             kKindNames[state.range(0)];
    VideoEncoder encoder;
    std::string error;
    if (!encoder.open(path, kind, kWidth, kHeight, 25, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::size_t i = 0;
    for (auto _ : state) encoder.addFrame(frames[i++ % frames.size()].data(), error);
    state.SetLabel(kKindNames[state.range(0)]);
    encoder.close();
    std::remove(path.c_str());
}

}  // namespace

constexpr int kMp4 = static_cast<int>(OutputKind::Mp4);
constexpr int kWebm = static_cast<int>(OutputKind::Webm);
constexpr int kGif = static_cast<int>(OutputKind::Gif);

BENCHMARK(BM_InteractiveFrame)->Unit(benchmark::kMillisecond)->MinTime(0.5)
    ->ArgNames({"persons"})->Arg(1)->Arg(45);
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond)->MinTime(0.5)->UseRealTime()->MeasureProcessCPUTime()
    ->ArgNames({"kind", "persons"})->ArgsProduct({{0, kMp4, kWebm, kGif}, {1, 45}});
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond)->MinTime(0.5)->MeasureProcessCPUTime()
    ->ArgNames({"kind", "persons"})->ArgsProduct({{kMp4, kWebm, kGif}, {1, 45}});

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(kWidth, kHeight);
    glutCreateWindow("Puppetorium v1.0");
    platform::setClock(lateClock);
    initSceneSilently();
    reshape(kWidth, kHeight);
    glutDisplayFunc(display);
    for (int i = 0; i < 10; i++) glutMainLoopEvent();
    std::fflush(stdout);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
