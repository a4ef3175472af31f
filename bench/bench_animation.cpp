// bench_animation.cpp - cost of the per-frame model step: one animator
// advance, 945 animators (one frame of 45 persons' worth) and the whole
// stepAnimation of 45 animating persons (945 animators and 900 matrices).
#include <benchmark/benchmark.h>

#include "anim/keyframe_animation.h"
#include "core/app_state.h"

namespace {

void fill(KeyFrameAnimation& a, int seed) {
    a.setValue(0, 0, 0);
    a.setOrigin();
    for (int k = 0; k < 20; k++)
        a.pushKeyFrame(float((k * 37 + seed) % 90), float((k * 11 + seed) % 45), float(k), ABS, 20 + k % 7);
    a.setCycle(true);
}

void BM_AdvanceOneAnimator(benchmark::State& state) {
    KeyFrameAnimation a;
    fill(a, 1);
    for (auto _ : state) {
        a.advance(1.0f);
        benchmark::DoNotOptimize(a.value);
    }
}
BENCHMARK(BM_AdvanceOneAnimator);

void BM_Advance945Animators(benchmark::State& state) {
    static KeyFrameAnimation animators[945];
    for (int i = 0; i < 945; i++) fill(animators[i], i);
    for (auto _ : state) {
        for (auto& a : animators) a.advance(1.0f);
        benchmark::DoNotOptimize(animators[944].value);
    }
}
BENCHMARK(BM_Advance945Animators)->Unit(benchmark::kMicrosecond);

void BM_StepAnimation45Persons(benchmark::State& state) {
    resetAppState();
    for (int i = 0; i < MAX_PERSONS; i++) {
        Person& p = app.persons[i];
        fill(p.kfaPos, i);
        for (int k = 0; k < BODY_PART_COUNT; k++) fill(p.part[k].kfa, i * 20 + k);
    }
    for (auto _ : state) {
        for (int i = 0; i < MAX_PERSONS; i++) app.persons[i].stepAnimationBy(app.playRate);
        benchmark::DoNotOptimize(app.persons[44].part[RHI].transform);
    }
}
BENCHMARK(BM_StepAnimation45Persons)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
