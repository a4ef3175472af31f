// Picking agrees with what GL draws: a part's middle, projected to a window
// pixel with GL's own look-at, projection and part matrices (gluProject),
// picks that part back, in both views and from an orbited camera.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

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
