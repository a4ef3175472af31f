// bench_posing.cpp - what posing by hand costs: one solve of both legs (the
// step of a body drag when nothing stops it), one body-drag step through
// the drag code, and the real frame of the same scene with and without a
// body drag running, side by side in one run.
//
//   bench_posing [benchmark flags]
//
// Needs an X display for the frame cases (bench/run_frame_bench.sh shows
// how to start one) and the repository root as working directory. The clock
// seam is moved past the first 20 s so the logo is not in the frame.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include "core/app_state.h"
#include "scene/frame_clock.h"
#include "base/platform.h"
#include "scene/reshape.h"
#include "scene/scene_init.h"
#include "audio/music_player.h"
#include "edit/limb_ik.h"
#include "edit/pose_drag.h"
#include "scene/display.h"

namespace {

int lateClock() { return 60000 + glutGet(GLUT_ELAPSED_TIME); }

// ---------------------------------------------------------------- solver

// Both legs to their planted feet, the body a little lower on every other
// solve so the answer is never the one already there.
void BM_SolveBothLegs(benchmark::State& state) {
    Person p;
    const PlantedFeet feet = plantFeet(p);
    int i = 0;
    for (auto _ : state) {
        p.position[1] = (i++ & 1) ? -0.5f : -0.8f;
        p.updateTransform(ROOT);
        benchmark::DoNotOptimize(solveLimb(p, LIMB_RIGHT_LEG, feet.ankle[0], feet.footRot[0]));
        benchmark::DoNotOptimize(solveLimb(p, LIMB_LEFT_LEG, feet.ankle[1], feet.footRot[1]));
    }
}

// A pointer ray straight at the stomach from the front, shifted down by `down`.
PickRay rayAtStomach(float down) {
    PickRay r;
    r.origin[0] = 0; r.origin[1] = 2 - down; r.origin[2] = 20;
    r.dir[0] = 0; r.dir[1] = 0; r.dir[2] = -1;
    r.tMin = 0; r.tMax = 100;
    return r;
}

void startBodyDrag(PoseDrag& d, Person& p, int person) {
    const float forward[3] = {0, 0, -1};
    beginPoseDrag(d, p, person, STOMK, rayAtStomach(0), 19, forward);
}

// One motion event of a body drag: within reach, and (odd steps) beyond it,
// where the body stops and the way is halved.
void BM_BodyDragStep(benchmark::State& state) {
    Person p;
    PoseDrag d;
    startBodyDrag(d, p, 0);
    const bool beyond = state.range(0) != 0;
    const float far = beyond ? -3.0f : 1.0f;  // -3: three units up, where straight legs cannot follow
    int i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(movePoseDrag(d, p, rayAtStomach((i++ & 1) ? far : 0.5f)));
}

// ---------------------------------------------------------------- frames

void frame() {
    idle();
    display();
    glFinish();
}

// The start scene with `persons` figures standing, paused; with a drag, the
// selected figure's body is dragged up and down every frame.
void BM_PosingFrame(benchmark::State& state) {
    app.numPersons = static_cast<int>(state.range(0));
    app.selectedPerson = 0;
    const bool dragging = state.range(1) != 0;
    Person& p = app.persons[0];
    p.setPosition(0, 0, 0);
    p.setDefaultPose();
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
    PoseDrag d;
    if (dragging) startBodyDrag(d, p, 0);
    for (int i = 0; i < 20; i++) frame();
    int i = 0;
    for (auto _ : state) {
        if (dragging) movePoseDrag(d, p, rayAtStomach(0.2f + 0.05f * (i++ % 20)));
        frame();
    }
}

}  // namespace

BENCHMARK(BM_SolveBothLegs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BodyDragStep)->Unit(benchmark::kMicrosecond)->ArgName("beyond")->Arg(0)->Arg(1);
BENCHMARK(BM_PosingFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)
    ->ArgNames({"persons", "drag"})->ArgsProduct({{1, 10}, {0, 1}});

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(700, 500);
    glutCreateWindow("Puppetorium v1.0");
    platform::setClock(lateClock);
    initScene();
    if (app.musicPlayer) app.musicPlayer->close();
    reshape(700, 500);
    glutDisplayFunc(display);
    for (int i = 0; i < 10; i++) glutMainLoopEvent();
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
