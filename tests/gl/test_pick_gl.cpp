// Picking agrees with what GL draws: a crowd is drawn with one flat colour
// per part, through GL's own look-at, projection and part matrices, and at
// every sampled pixel the part picked is the part GL shows there in front of
// the others; from the start camera, an orbited one and the orthographic view.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/app_state.h"
#include "scene/reshape.h"
#include "edit/pick.h"
#include "figure/skeleton.h"
#include "gl_probe.h"

namespace {

// GL's matrix for part `idx` on top of the current model-view, formed by
// GL itself: the transforms from the root down, one push each.
void multiplyDownTo(const Person& p, int idx) {
    int chain[BODY_PART_COUNT], n = 0;
    for (int i = idx; i >= 0; i = skeleton::kParent[i]) chain[n++] = i;
    while (n-- > 0) {
        glPushMatrix();
        glMultMatrixf(p.part[chain[n]].transform);
    }
}

// Person i, part idx as a flat colour: red 12 per part, green 60 per person.
void drawPartsInIdColours(Person* persons, int count) {
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < count; i++) {
        Person& p = persons[i];
        p.selectedPart = -1;  // no highlight
        for (int idx = 1; idx < BODY_PART_COUNT; idx++) {
            p.setColour(idx * 12 / 255.0f, (i + 1) * 60 / 255.0f, 0.2f);
            GLint depth = 0, now = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
            multiplyDownTo(p, idx);
            p.drawBodyPart(idx, FigureDrawSettings{false, false, nullptr});
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &now);
            while (now-- > depth) glPopMatrix();
        }
    }
}

struct Agreement {
    int drawn = 0, agree = 0, farDrawn = 0, farAgree = 0;
};

// Draws the crowd in the current view and picks at every other pixel.
Agreement compareWithIdRender(Person* persons, int count, int farPerson) {
    reshape(700, 500);
    glLoadIdentity();
    if (!app.orthographicView) app.camera.apply(app.playRate);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DITHER);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawPartsInIdColours(persons, count);
    const std::vector<unsigned char> rgb = glprobe::readWindow();

    Agreement a;
    for (int y = 0; y < 500; y += 2)
        for (int x = 0; x < 700; x += 2) {
            const unsigned char* c = &rgb[((499 - y) * 700 + x) * 3];
            if (c[1] == 0 || c[2] == 255) continue;  // background, or an eye
            const int idx = static_cast<int>(std::lround(c[0] / 12.0));
            const int person = static_cast<int>(std::lround(c[1] / 60.0)) - 1;
            const PickRay ray = rayThroughPixel(x, y, 700, 500, app.orthographicView, app.camera);
            PickHit hit;
            const bool ok = pickPart(persons, count, ray, hit) && hit.person == person && hit.part == idx;
            a.drawn++;
            a.agree += ok;
            if (person == farPerson) {
                a.farDrawn++;
                a.farAgree += ok;
            }
        }
    glLoadIdentity();
    return a;
}

}  // namespace

TEST(PickAgainstGL, OverACrowdThePickedPartIsThePartGLDrawsInFront) {
    resetAppState();
    app.texturesOn = false;
    Person* p = app.persons;
    p[1].setGender(false, 0.8f);  // in front of figure 0, half covering it
    p[1].setPosition(1.2f, 0, 4);
    p[2].setGender(true, 0.5f);   // small, far behind
    p[2].setPosition(-6, 0, -40);
    p[0].part[RUA].rotation[2] = 60;  // an arm raised across the others
    p[1].part[NECK].rotation[1] = 25;
    for (int i = 0; i < 3; i++)
        for (int k = 0; k < BODY_PART_COUNT; k++) p[i].computePartTransform(k);

    // Coarse quadrics sit inside the true round shapes, so silhouettes
    // differ by a pixel; everything else must agree.
    Agreement a = compareWithIdRender(p, 3, 2);
    ASSERT_GT(a.drawn, 5000);
    EXPECT_GT(a.agree, a.drawn * 96 / 100) << a.agree << " of " << a.drawn;
    ASSERT_GT(a.farDrawn, 40);
    EXPECT_GT(a.farAgree, a.farDrawn * 90 / 100) << a.farAgree << " of " << a.farDrawn;

    app.camera.orbit(35, 1);
    app.camera.orbitVertical(20, 1);
    a = compareWithIdRender(p, 3, 2);
    ASSERT_GT(a.drawn, 5000);
    EXPECT_GT(a.agree, a.drawn * 96 / 100) << "orbited: " << a.agree << " of " << a.drawn;

    // The orthographic view draws without the camera.
    app.orthographicView = true;
    a = compareWithIdRender(p, 2, -1);
    ASSERT_GT(a.drawn, 5000);
    EXPECT_GT(a.agree, a.drawn * 96 / 100) << "orthographic: " << a.agree << " of " << a.drawn;
}

// Held items are drawn in their own colours, not the part's: any pixel that
// is neither background nor a part's id colour (blue 51) is the item, and a
// click there must pick the hand item. Every item, held out to the side.
TEST(PickAgainstGL, EveryHeldItemIsPickedWhereItIsDrawn) {
    resetAppState();
    app.texturesOn = false;
    Person& p = app.persons[0];
    p.part[RUA].rotation[2] = 80;  // the right arm out to the side
    p.part[RUA].rotation[0] = 90;
    for (int k = 0; k < BODY_PART_COUNT; k++) p.computePartTransform(k);
    app.camera.orbit(25, 1);
    for (int item = ITEM_BALL; item < HAND_ITEM_COUNT; item++) {
        p.rightHandItem = item;
        reshape(700, 500);
        glLoadIdentity();
        app.camera.apply(app.playRate);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_DITHER);
        glEnable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawPartsInIdColours(&p, 1);
        const std::vector<unsigned char> rgb = glprobe::readWindow();
        glLoadIdentity();
        int drawn = 0, agree = 0;
        for (int y = 0; y < 500; y++)
            for (int x = 0; x < 700; x++) {
                const unsigned char* c = &rgb[((499 - y) * 700 + x) * 3];
                if ((c[0] == 0 && c[1] == 0 && c[2] == 0) || c[2] == 51) continue;
                const bool white = c[0] == 255 && c[1] == 255 && c[2] == 255;
                if (white && item != ITEM_DISC) continue;  // the eyes
                const PickRay ray = rayThroughPixel(x, y, 700, 500, false, app.camera);
                PickHit hit;
                drawn++;
                agree += pickPart(&p, 1, ray, hit) && hit.part == RHI;
            }
        EXPECT_GT(drawn, 150) << "item " << item;
        EXPECT_GT(agree, drawn * 90 / 100) << "item " << item << ": " << agree << " of " << drawn;
    }
}
