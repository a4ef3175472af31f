// The fast figure drawing against the reference drawing: the same frames,
// rendered both ways through the real display pass with the real textures,
// must agree pixel for pixel within a small tolerance. Four scenes: the
// start scene, 45 figures dancing with their trails, the couple seen from
// close by (where the full tessellation must be kept), and the couple in
// wireframe, where both paths must show the quadrics' quads.
//
// With PUPPETORIUM_DRAW_PATHS_OUT set to a folder, each pair is written
// there as binary PPM pictures for a person to compare.
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../bench/dancers.h"
#include "core/app_state.h"
#include "scene/frame_clock.h"
#include "base/platform.h"
#include "scene/reshape.h"
#include "scene/scene_init.h"
#include "figure/shape_cache.h"
#include "input/keyboard.h"
#include "scene/display.h"
#include "scene/switches.h"
#include "gfx/texture_loader.h"
#include "gfx/texture_slots.h"

namespace {

int fakeNow = 0;
int fakeClock() { return fakeNow; }

constexpr int kW = 700, kH = 500;

class DrawPaths : public testing::Test {
protected:
    void SetUp() override {
        static GLUquadric* quadric = gluNewQuadric();  // GLU quadrics are never freed
        ASSERT_EQ(chdir(PUPPETORIUM_SOURCE_DIR), 0);   // textures and animations are read from here
        resetAppState();
        app.quadric = quadric;
        gluQuadricTexture(quadric, GL_TRUE);
        gluQuadricNormals(quadric, GLU_SMOOTH);
        testing::internal::CaptureStdout();
        for (int slot : kTextureLoadOrder) app.textures[slot] = loadTexture(kTextureFiles[slot]);
        testing::internal::GetCapturedStdout();
        placeAndDressPersons();
        configureLogoBlock();
        setLightPath();
        placeCamera();
        setFixedGlState();
        glEnable(GL_TEXTURE_2D);
        fakeNow = 30000;  // past the start-up hint and the logo
        platform::setClock(fakeClock);
    }
    void TearDown() override {
        resetFigureDrawState();
        platform::resetSeams();
        resetAppState();
        glDisable(GL_TEXTURE_2D);
        glClearColor(1, 1, 1, 1);
    }

    // The present state drawn one way, read back. The scene is left as it
    // was: only the drawing path differs between two calls.
    std::vector<unsigned char> render(bool reference) {
        setReferenceDrawing(reference);
        reshape(kW, kH);
        renderFrame();
        glFinish();
        std::vector<unsigned char> px(static_cast<size_t>(kW) * kH * 3);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kW, kH, GL_RGB, GL_UNSIGNED_BYTE, px.data());
        return px;
    }

    // The light and the camera move with each display pass; each path
    // starts from the same state. `minFigurePixels`: how many pixels the
    // figures must change in the reference picture, against the same frame
    // without them, so a scene that lost its figures fails.
    void compareBothWays(const char* name, int minFigurePixels) {
        // A frame first, so both start from the GL state a frame leaves.
        const KeyFrameAnimation light = app.sceneLight;
        render(true);
        app.sceneLight = light;
        const std::vector<unsigned char> reference = render(true);
        app.sceneLight = light;
        const std::vector<unsigned char> fast = render(false);
        const int figures = app.numPersons;
        app.numPersons = 0;
        app.sceneLight = light;
        const std::vector<unsigned char> bare = render(true);
        app.numPersons = figures;
        int within = 0, figure = 0, fastFigure = 0;
        for (size_t i = 0; i < reference.size(); i += 3) {
            int worst = 0, fromBare = 0, fastFromBare = 0;
            for (int k = 0; k < 3; k++) {
                worst = std::max(worst, std::abs(reference[i + k] - fast[i + k]));
                fromBare = std::max(fromBare, std::abs(reference[i + k] - bare[i + k]));
                fastFromBare = std::max(fastFromBare, std::abs(fast[i + k] - bare[i + k]));
            }
            if (worst <= 24) within++;
            if (fromBare > 24) figure++;
            if (fastFromBare > 24) fastFigure++;
        }
        const double share = static_cast<double>(within) / (kW * kH);
        EXPECT_GE(share, 0.99) << name;
        EXPECT_GE(figure, minFigurePixels) << name << ": the figures are missing from the reference drawing";
        EXPECT_GE(fastFigure, minFigurePixels) << name << ": the figures are missing from the fast drawing";
        if (const char* dir = std::getenv("PUPPETORIUM_DRAW_PATHS_OUT")) {
            write(std::string(dir) + "/" + name + "-reference.ppm", reference);
            write(std::string(dir) + "/" + name + "-fast.ppm", fast);
        }
        std::printf("%s: %.3f %% of pixels within 24/255; %d figure pixels (fast %d)\n", name, 100 * share, figure,
                    fastFigure);
    }

    static void write(const std::string& path, const std::vector<unsigned char>& px) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return;
        std::fprintf(f, "P6\n%d %d\n255\n", kW, kH);
        for (int y = kH - 1; y >= 0; y--) std::fwrite(&px[static_cast<size_t>(y) * kW * 3], 1, kW * 3, f);
        std::fclose(f);
    }
};

}  // namespace

TEST_F(DrawPaths, StartSceneLooksTheSameBothWays) {
    compareBothWays("start", 2000);
}

TEST_F(DrawPaths, FortyFiveDancersWithTrailsLookTheSameBothWays) {
    testing::internal::CaptureStdout();
    setUpDancers(MAX_PERSONS, true);
    testing::internal::GetCapturedStdout();
    for (int i = 0; i < 30; i++) idle();  // into the dance, between keyframes
    compareBothWays("dancers", 20000);
}

namespace {

// The boy-and-girl scene, as its key sets it up, seen from close by.
void setUpCouple() {
    app.numPersons = 2;
    app.persons[0].setRightHandItem(ITEM_FLOWER);
    app.persons[1].setGender(false, 1.0f);
    testing::internal::CaptureStdout();
    const bool loaded = app.persons[0].loadAnimation(BOY_FILE) && app.persons[1].loadAnimation(GIRL_FILE);
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loaded);
    for (int i = 0; i < 40; i++) idle();
    app.persons[0].setShowTrail(true);
    app.camera.setEye(4, 3, 9);
    app.camera.setTarget(app.persons[0].position);
}

}  // namespace

TEST_F(DrawPaths, TheCoupleCloseByLooksTheSameBothWays) {
    setUpCouple();
    compareBothWays("couple", 20000);
}

// Each facet's outline, no diagonals: a fast path drawing triangles would
// put a line across every quad of every sphere, thousands of pixels.
TEST_F(DrawPaths, TheCoupleInWireframeShowsTheSameQuadsBothWays) {
    setUpCouple();
    toggleWireframe();
    compareBothWays("couple-wireframe", 5000);
    toggleWireframe();
}
