// bench_frame.cpp - milliseconds per frame of the real frame (idle pass and
// display pass, finished on the GPU) at 700 x 500, next to an empty frame
// (clear and swap) measured in the same run.
//
// Needs an X display (run it through bench/run_frame_bench.sh, which starts
// Xvfb) and the repository root as working directory for the textures and
// animation files. The clock seam is moved past the first 20 s so the intro
// hint and logo are not part of the measured frame.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include "app/app_state.h"
#include "app/frame_clock.h"
#include "app/platform.h"
#include "app/reshape.h"
#include "app/scene_init.h"
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
    for (int i = 0; i < 20; i++) frame();  // warm up: textures resident, trails filled
    for (auto _ : state) frame();
}

}  // namespace

BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->MinTime(2.0)
    ->ArgNames({"persons", "trails"})
    ->Args({1, 0})->Args({45, 0})->Args({45, 1});

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(700, 500);
    glutCreateWindow("Puppetorium v1.0");
    platform::setClock(lateClock);
    initScene();
    reshape(700, 500);
    glutDisplayFunc(display);
    // Let the window appear before measuring.
    for (int i = 0; i < 10; i++) glutMainLoopEvent();
    std::fflush(stdout);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
