// Picking agrees with what GL draws: a part's middle, projected to a window
// pixel with GL's own look-at, projection and part matrices (gluProject),
// picks that part back, in both views and from an orbited camera; and over
// a crowd drawn with one flat colour per part, the part picked at a pixel is
// the part GL shows there, in front of the others.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/app_state.h"
#include "app/reshape.h"
#include "edit/pick.h"

namespace {

// GL's matrix for part `idx` of `p` on top of the current model-view, the
// way drawNode reaches it: the transforms from the root down.
bool multiplyDownTo(const BodyPart* node, int idx) {
    for (; node; node = node->nextSibling) {
        glPushMatrix();
        glMultMatrixf(node->transform);
        if (node->index == idx || multiplyDownTo(node->firstChild, idx)) return true;
        glPopMatrix();
    }
    return false;
}

// The window pixel (GLUT's, y down) of the middle of part `idx`.
void pixelOfPart(Person& p, int idx, int& x, int& y) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    ASSERT_TRUE(multiplyDownTo(&p.part[ROOT], idx));
    glTranslatef(0, 0.5f * p.part[idx].length, 0);
    GLdouble mv[16], pr[16], wx, wy, wz;
    GLint vp[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, mv);
    glGetDoublev(GL_PROJECTION_MATRIX, pr);
    glGetIntegerv(GL_VIEWPORT, vp);
    ASSERT_TRUE(gluProject(0, 0, 0, mv, pr, vp, &wx, &wy, &wz));
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    while (depth-- > 1) glPopMatrix();
    x = static_cast<int>(wx);
    y = vp[3] - 1 - static_cast<int>(wy);
}

void setView() {
    reshape(700, 500);
    glLoadIdentity();
    if (!app.orthographicView) app.camera.apply();
}

void expectPartsPickBack(Person& p, const int* parts, int n) {
    for (int k = 0; k < n; k++) {
        int x = 0, y = 0;
        pixelOfPart(p, parts[k], x, y);
        const PickRay ray = rayThroughPixel(x, y, 700, 500, app.orthographicView, app.camera);
        PickHit hit;
        ASSERT_TRUE(pickPart(&p, 1, ray, hit)) << kBodyPartLabels[parts[k]] << " at " << x << "," << y;
        EXPECT_EQ(hit.part, parts[k]) << kBodyPartLabels[parts[k]] << " at " << x << "," << y;
    }
}

}  // namespace

TEST(PickAgainstGL, PartMiddlesProjectedByGLPickTheirOwnPart) {
    resetAppState();
    Person& p = app.persons[0];
    // A man straight ahead: his hands hang clear of his thighs.
    p.setPosition(0, 0, -3);
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
    const int front[] = {HEAD, TORSO, RUA, LUA, RLA, LLA, RUL, LUL, RLL, LLL};

    setView();
    expectPartsPickBack(p, front, 10);

    // From an orbited, raised camera (the hands now hang in front of the
    // thighs).
    app.camera.orbit(35, 1);
    app.camera.orbitVertical(20, 1);
    setView();
    const int orbited[] = {HEAD, TORSO, RUA, LUA, RLA, LLA, RH, LH, RLL, LLL};
    expectPartsPickBack(p, orbited, 10);

    // The orthographic view draws without the camera.
    app.orthographicView = true;
    setView();
    expectPartsPickBack(p, front, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

namespace {

// Person i, part idx as a flat colour (red 12 per part, green 60 per person).
void drawPartsInIdColours(Person* persons, int count) {
    for (int i = 0; i < count; i++) {
        Person& p = persons[i];
        p.selectedPart = -1;  // no highlight
        p.alpha = 1;
        for (int idx = 1; idx < BODY_PART_COUNT; idx++) {
            p.setColour(idx * 12 / 255.0f, (i + 1) * 60 / 255.0f, 0.2f);
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            GLint depth = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
            multiplyDownTo(&p.part[ROOT], idx);
            p.drawBodyPart(idx);
            GLint now = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &now);
            while (now-- > depth) glPopMatrix();
            glPopMatrix();
        }
    }
}

}  // namespace

TEST(PickAgainstGL, OverACrowdThePickedPartIsThePartGLDrawsInFront) {
    resetAppState();
    app.texturesOn = false;
    app.numPersons = 3;
    Person* p = app.persons;
    p[1].setGender(false, 0.8f);  // in front of figure 0, half covering it
    p[1].setPosition(1.2f, 0, 4);
    p[2].setGender(true, 0.5f);   // small, far behind
    p[2].setPosition(-6, 0, -40);
    p[0].part[RUA].rotation[2] = 60;  // an arm raised across the others
    p[1].part[NECK].rotation[1] = 25;
    for (int i = 0; i < 3; i++)
        for (int k = 0; k < BODY_PART_COUNT; k++) p[i].computePartTransform(k);

    setView();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DITHER);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawPartsInIdColours(p, 3);
    glFinish();
    std::vector<unsigned char> rgb(700 * 500 * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 700, 500, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());

    int drawn = 0, agree = 0, farDrawn = 0, farAgree = 0;
    for (int y = 0; y < 500; y += 2)
        for (int x = 0; x < 700; x += 2) {
            const unsigned char* c = &rgb[((499 - y) * 700 + x) * 3];
            if (c[1] == 0 || c[2] == 255) continue;  // background, or an eye
            const int idx = static_cast<int>(std::lround(c[0] / 12.0));
            const int person = static_cast<int>(std::lround(c[1] / 60.0)) - 1;
            PickHit hit;
            const bool ok = pickPart(p, 3, rayThroughPixel(x, y, 700, 500, false, app.camera), hit) &&
                            hit.person == person && hit.part == idx;
            drawn++;
            agree += ok;
            if (person == 2) {
                farDrawn++;
                farAgree += ok;
            }
        }
    // Coarse quadrics sit inside the true round shapes, so edges differ by
    // a pixel; everything else must agree.
    ASSERT_GT(drawn, 5000);
    EXPECT_GT(agree, drawn * 96 / 100) << agree << " of " << drawn;
    ASSERT_GT(farDrawn, 40);
    EXPECT_GT(farAgree, farDrawn * 90 / 100) << farAgree << " of " << farDrawn;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
