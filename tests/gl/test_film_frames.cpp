// What a film shows. A picture of N frames is the film's frame N-1 pixel for
// pixel, with the light, the camera tour and the lighting where the film has
// them; films leave out the editing aids, so the selected part is not yellow.
// Compared against frames drawn and read back without any encoding.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "base/platform.h"
#include "scene/scene_init.h"
#include "export/export_job.h"
#include "input/keyboard.h"

namespace {

using Pixels = std::vector<std::uint8_t>;
constexpr int kW = 160, kH = 90;

int fakeClock() { return 30000; }  // past the start-up hint and the logo

// Pixels whose red, green or blue differ (alpha is not in a .png).
int differingPixels(const Pixels& a, const Pixels& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (std::size_t i = 0; i + 3 < a.size(); i += 4)
        if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) n++;
    return n;
}

class FilmFramesGL : public testing::Test {
protected:
    std::string dir;

    void SetUp() override {
        std::string tmpl = testing::TempDir() + "puppetorium_film_XXXXXX";
        ASSERT_NE(mkdtemp(&tmpl[0]), nullptr);
        dir = tmpl;
        ASSERT_EQ(chdir(PUPPETORIUM_SOURCE_DIR), 0);
    }
    void TearDown() override {
        platform::resetSeams();
        resetAppState();
        glDisable(GL_TEXTURE_2D);
        glClearColor(1, 1, 1, 1);
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    // The sword fight seen from the orbiting camera tour, a part selected.
    static void startScene(int selectedPart) {
        resetAppState();
        initSceneSilently();
        platform::setClock(fakeClock);
        onKeyboard('6', 0, 0);
        onKeyboard('2', 0, 0);
        app.persons[0].selectPart(selectedPart);
    }

    static RenderOptions options(int frames) {
        RenderOptions o;
        o.width = kW;
        o.height = kH;
        o.frames = frames;
        return o;
    }

    // The last of `frames` frames, drawn and read back, nothing encoded.
    static Pixels filmFrame(int frames) {
        ExportJob job;
        std::string error;
        EXPECT_TRUE(job.startWithoutEncoding(options(frames), error)) << error;
        while (!job.done()) EXPECT_TRUE(job.step(error)) << error;
        Pixels last = job.unencodedFrame();
        job.finish(error);
        return last;
    }

    // A .png render of `frames` frames, as RGBA bottom row first.
    Pixels picture(int frames) const {
        RenderOptions o = options(frames);
        o.output = dir + "/p.png";
        o.kind = OutputKind::Png;
        ExportJob job;
        std::string error;
        EXPECT_TRUE(job.start(o, error)) << error;
        while (!job.done()) EXPECT_TRUE(job.step(error)) << error;
        EXPECT_TRUE(job.finish(error)) << error;
        const std::string raw = dir + "/p.rgba";
        EXPECT_EQ(std::system(("convert '" + o.output + "' -depth 8 'rgba:" + raw + "'").c_str()), 0);
        std::ifstream in(raw, std::ios::binary);
        const Pixels topDown{std::istreambuf_iterator<char>(in), {}};
        Pixels bottomUp(topDown.size());
        const std::size_t row = kW * 4;
        if (topDown.size() != row * kH) return {};
        for (int y = 0; y < kH; y++)
            std::copy_n(topDown.begin() + static_cast<long>(row * y), row,
                        bottomUp.begin() + static_cast<long>(row * (kH - 1 - y)));
        return bottomUp;
    }
};

}  // namespace

TEST_F(FilmFramesGL, APictureOfNFramesIsTheFilmsLastFrameLightAndCameraAndAll) {
    for (int frames : {1, 2, 37}) {
        SCOPED_TRACE(frames);
        startScene(ROOT);
        const Pixels film = filmFrame(frames);
        startScene(ROOT);
        const Pixels png = picture(frames);
        ASSERT_EQ(film.size(), static_cast<std::size_t>(kW * kH * 4));
        EXPECT_EQ(differingPixels(film, png), 0);
        // The floor is wood from the first frame on: redder than blue
        // along the bottom row, not bare grey.
        int red = 0, blue = 0;
        for (int x = 0; x < kW; x++) {
            red += png[static_cast<std::size_t>(x) * 4];
            blue += png[static_cast<std::size_t>(x) * 4 + 2];
        }
        EXPECT_GT(red - blue, 30 * kW);
    }
    // Not the same picture whatever the count: the scene moves.
    startScene(ROOT);
    const Pixels early = filmFrame(2);
    startScene(ROOT);
    EXPECT_GT(differingPixels(early, filmFrame(37)), kW * kH / 50);
}

TEST_F(FilmFramesGL, TheSelectedPartIsNotYellowInAFilm) {
    startScene(ROOT);  // the root draws nothing, so nothing shows selected
    const Pixels none = filmFrame(5);
    for (int part : {TORSO, HEAD, RUL}) {
        SCOPED_TRACE(part);
        startScene(part);
        EXPECT_EQ(differingPixels(none, filmFrame(5)), 0);
    }
}
