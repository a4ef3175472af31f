// bench_frame.cpp - milliseconds per frame of the real frame (idle pass and
// display pass, finished on the GPU), mean and worst, next to an empty frame
// (clear and swap) measured in the same run, with the figures drawn by the
// reference path and by the fast path.
//
//   bench_frame [--size WxH] [benchmark flags]     the timed runs
//   bench_frame [--size WxH] --count PERSONS TRAILS PATH STRIDE
//       a fixed run for callgrind over one whole cycle of the dance: PATH is
//       "reference" or "fast"; every STRIDE-th frame of the cycle is
//       instrumented and dumped on its own (run with --instr-atstart=no),
//       so the dumps give the mean and the worst frame.
//
// The dance's phases differ by half in what they draw (the trail copies
// match each other more in some than in others): a few frames early in it
// are not the frame, a cycle is. The window is 700 x 500 unless --size says.
//
// Needs an X display (run it through bench/run_frame_bench.sh, which starts
// Xvfb) and the repository root as working directory for the textures and
// animation files. The clock seam is moved past the first 20 s so the intro
// hint and logo are not part of the measured frame.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

// Frames in one cycle of the dance at the present play rate.
int cycleFrames() {
    KeyFrameAnimation& a = app.persons[0].part[TORSO].kfa;
    a.ensureTimes();
    const float steps = a.numKeyFrames > 0 ? a.keyFrames[a.numKeyFrames - 1].endTime : 1;
    return std::max(1, static_cast<int>(steps / app.playRate + 0.5f));
}

// The frames run on through the dance, so the mean covers every phase; the
// worst frame is timed by hand.
void BM_Frame(benchmark::State& state) {
    setUpDancers(static_cast<int>(state.range(0)), state.range(1) != 0);
    setReferenceDrawing(state.range(2) != 0);
    for (int i = 0; i < 20; i++) frame();  // warm up: textures resident, trails filled
    double worst = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        frame();
        worst = std::max(worst, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["worst_ms"] = worst;
    state.counters["cycle_frames"] = cycleFrames();
    setReferenceDrawing(false);
}

// Frames for callgrind to count: the same scene over one cycle of the dance,
// every stride-th frame instrumented and dumped on its own.
int countFrames(int persons, bool trails, bool reference, int stride) {
    setUpDancers(persons, trails);
    setReferenceDrawing(reference);
    for (int i = 0; i < 2; i++) frame();
    const int frames = cycleFrames();
    int counted = 0;
    for (int i = 0; i < frames; i++) {
        if (i % stride != 0) {
            frame();
            continue;
        }
        CALLGRIND_START_INSTRUMENTATION;
        CALLGRIND_ZERO_STATS;
        frame();
        CALLGRIND_DUMP_STATS_AT("frame");
        CALLGRIND_STOP_INSTRUMENTATION;
        counted++;
    }
    std::printf("counted %d of %d frames\n", counted, frames);
    return 0;
}

// "--size WxH" taken out of the arguments; false when it is malformed.
bool takeSize(int& argc, char** argv, int& width, int& height) {
    for (int i = 1; i + 1 < argc; i++) {
        if (std::strcmp(argv[i], "--size") != 0) continue;
        if (std::sscanf(argv[i + 1], "%dx%d", &width, &height) != 2 || width < 64 || height < 64) return false;
        for (int k = i; k + 2 <= argc; k++) argv[k] = argv[k + 2];
        argc -= 2;
        return true;
    }
    return true;
}

}  // namespace

BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->MinTime(2.0)
    ->ArgNames({"persons", "trails", "reference"})
    ->ArgsProduct({{1, 10, 45}, {0, 1}, {1, 0}});

int main(int argc, char** argv) {
    int width = 700, height = 500;
    if (!takeSize(argc, argv, width, height)) {
        std::fprintf(stderr, "bench_frame: --size wants WIDTHxHEIGHT, at least 64x64\n");
        return 2;
    }
    const bool count = argc == 6 && std::strcmp(argv[1], "--count") == 0;
    if (!count) benchmark::Initialize(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(width, height);
    glutCreateWindow("Puppetorium v1.0");
    platform::setClock(lateClock);
    initScene();
    // The music decodes on a thread of its own at the pace of the clock, not
    // of the frames: silent, the counts are the drawing's alone.
    if (app.musicPlayer) app.musicPlayer->close();
    reshape(width, height);
    glutDisplayFunc(display);
    // Let the window appear before measuring.
    for (int i = 0; i < 10; i++) glutMainLoopEvent();
    std::fflush(stdout);
    if (count)
        return countFrames(std::atoi(argv[2]), std::atoi(argv[3]) != 0,
                           std::strcmp(argv[4], "reference") == 0, std::max(1, std::atoi(argv[5])));
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
