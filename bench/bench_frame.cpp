// bench_frame.cpp - milliseconds per frame of the real frame (idle pass and
// display pass, finished on the GPU) at 700 x 500, next to an empty frame
// (clear and swap) measured in the same run, with the figures drawn by the
// reference path and by the fast path.
//
//   bench_frame [benchmark flags]                  the timed runs
//   bench_frame --count PERSONS TRAILS PATH FRAMES a fixed run for callgrind:
//       PATH is "reference" or "fast"; only the FRAMES after two warm-up
//       frames are instrumented (run with --instr-atstart=no).
//
// Needs an X display (run it through bench/run_frame_bench.sh, which starts
// Xvfb) and the repository root as working directory for the textures and
// animation files. The clock seam is moved past the first 20 s so the intro
// hint and logo are not part of the measured frame.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdlib>
#include <cstring>

#include "core/app_state.h"
#include "scene/frame_clock.h"
#include "base/platform.h"
#include "scene/reshape.h"
#include "scene/scene_init.h"
#include "audio/music_player.h"
#include "figure/shape_cache.h"
#include "scene/display.h"
#include "dancers.h"

namespace {

int lateClock() { return 60000 + glutGet(GLUT_ELAPSED_TIME); }

void frame() {
    idle();
    display();
    glFinish();
}

void BM_EmptyFrame(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
        glFinish();
    }
}

void BM_Frame(benchmark::State& state) {
    setUpDancers(static_cast<int>(state.range(0)), state.range(1) != 0);
    setReferenceDrawing(state.range(2) != 0);
    for (int i = 0; i < 20; i++) frame();  // warm up: textures resident, trails filled
    for (auto _ : state) frame();
    setReferenceDrawing(false);
}

// Frames for callgrind to count: the same scene, a fixed number of frames.
int countFrames(int persons, bool trails, bool reference, int frames) {
    setUpDancers(persons, trails);
    setReferenceDrawing(reference);
    for (int i = 0; i < 2; i++) frame();
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_ZERO_STATS;
    for (int i = 0; i < frames; i++) frame();
    CALLGRIND_STOP_INSTRUMENTATION;
    return 0;
}

}  // namespace

BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->MinTime(2.0)
    ->ArgNames({"persons", "trails", "reference"})
    ->ArgsProduct({{1, 10, 45}, {0, 1}, {1, 0}});

int main(int argc, char** argv) {
    const bool count = argc == 6 && std::strcmp(argv[1], "--count") == 0;
    if (!count) benchmark::Initialize(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(700, 500);
    glutCreateWindow("Puppetorium v1.0");
    platform::setClock(lateClock);
    initScene();
    // The music decodes on a thread of its own at the pace of the clock, not
    // of the frames: silent, the counts are the drawing's alone.
    if (app.musicPlayer) app.musicPlayer->close();
    reshape(700, 500);
    glutDisplayFunc(display);
    // Let the window appear before measuring.
    for (int i = 0; i < 10; i++) glutMainLoopEvent();
    std::fflush(stdout);
    if (count)
        return countFrames(std::atoi(argv[2]), std::atoi(argv[3]) != 0,
                           std::strcmp(argv[4], "reference") == 0, std::atoi(argv[5]));
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
