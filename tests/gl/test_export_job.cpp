// A render in the window's context that does not complete leaves nothing
// behind: not when the disk refuses the encoder thread's writes half-way
// (the next step reports the encoder's error), not when it is cancelled or
// dropped half-way. The target keeps what it held.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/app_state.h"
#include "base/platform.h"
#include "scene/scene_init.h"
#include "export/export_job.h"

namespace {

int fakeClock() { return 30000; }  // past the start-up hint and the logo

class ExportJobGL : public testing::Test {
protected:
    std::string dir, target;

    void SetUp() override {
        std::string tmpl = testing::TempDir() + "puppetorium_export_XXXXXX";
        ASSERT_NE(mkdtemp(&tmpl[0]), nullptr);
        dir = tmpl;
        target = dir + "/film.mp4";
        std::ofstream(target) << "keep";
        ASSERT_EQ(chdir(PUPPETORIUM_SOURCE_DIR), 0);  // the textures: frames with detail
        resetAppState();
        testing::internal::CaptureStdout();
        initSceneSilently();
        testing::internal::GetCapturedStdout();
        platform::setClock(fakeClock);
    }
    void TearDown() override {
        platform::resetSeams();
        resetAppState();
        glDisable(GL_TEXTURE_2D);
        glClearColor(1, 1, 1, 1);
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    bool start(ExportJob& job) {
        RenderOptions o;
        o.output = target;
        o.kind = OutputKind::Mp4;
        o.width = 640;
        o.height = 360;
        o.frames = 400;  // the file outgrows an 8 kB disk after about 100
        std::string error;
        EXPECT_TRUE(job.start(o, error)) << error;
        return error.empty();
    }

    void expectOnlyTheOldTarget() const {
        std::ifstream in(target);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");
        for (const auto& e : std::filesystem::directory_iterator(dir))
            EXPECT_EQ(e.path().string(), target) << "left beside the target";
    }
};

}  // namespace

TEST_F(ExportJobGL, AWriteRefusedOnTheEncoderThreadStopsTheNextStepAndLeavesNoFile) {
    ExportJob job;
    ASSERT_TRUE(start(job));
    std::string error;
    bool failed = false;
    rlimit old{}, disk{};
    getrlimit(RLIMIT_FSIZE, &old);
    disk = old;
    disk.rlim_cur = 8 * 1024;
    auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);  // a failed write, not the end of the process
    setrlimit(RLIMIT_FSIZE, &disk);
    while (!failed && !job.done()) failed = !job.step(error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_TRUE(failed) << "every step succeeded";
    EXPECT_EQ(error.rfind("writing the output failed: ", 0), 0u) << error;
    expectOnlyTheOldTarget();
}

TEST_F(ExportJobGL, CancelledOrDroppedHalfWayLeavesNoFile) {
    for (bool drop : {false, true}) {
        SCOPED_TRACE(drop ? "dropped" : "cancelled");
        auto job = std::make_unique<ExportJob>();
        ASSERT_TRUE(start(*job));
        std::string error;
        for (int i = 0; i < 10; i++) ASSERT_TRUE(job->step(error)) << error;
        if (!drop) job->cancel();
        job.reset();
        expectOnlyTheOldTarget();
    }
}
