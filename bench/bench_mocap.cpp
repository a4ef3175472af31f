// bench_mocap.cpp - importing a recording: ten seconds at 120 frames a
// second of a 60-joint rig, read, mapped, retargeted and reduced. The import
// runs when the user picks the file, so it must feel immediate (< 0.2 s).
#include <benchmark/benchmark.h>

#include <memory>

#include "../tests/unit/mocap/mocap_test_rig.h"
#include "mocap/mocap_import.h"

namespace {

void BM_ImportTenSecondsAt120Fps(benchmark::State& state) {
    auto figure = std::make_unique<Person>();
    const mocap_test::KnownMotion motion = mocap_test::swingingMotion(*figure, 1201, 10.0);
    mocap_test::RecordingStyle style;
    style.extraFingers = 17;  // 26 joints of the rig + 34: 60
    style.orders = {"ZXY", "YXZ"};
    const std::string text = mocap_test::recording(motion, style, 1.0 / 120);
    int keys = 0, joints = 0;
    for (auto _ : state) {
        MocapImport m;
        std::string error;
        if (!prepareMocap(text, *figure, m, error)) state.SkipWithError(error.c_str());
        keys = static_cast<int>(m.keys.times.size());
        joints = static_cast<int>(m.clip.joints.size());
        benchmark::DoNotOptimize(m.keys.values.data());
    }
    state.counters["joints"] = joints;
    state.counters["keyframes"] = keys;
    state.counters["MB"] = text.size() / 1e6;
}
BENCHMARK(BM_ImportTenSecondsAt120Fps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
