// Part matrices computed in float arithmetic agree with the matrices GL
// itself builds with glTranslatef and glRotatef, over many random poses.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <random>

#include "figure/person.h"

namespace {

void glMatrixFor(const Person& p, int i, float out[16]) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const float* t = (i == 0) ? p.position : p.part[i].jointOffset;
    glTranslatef(t[0], t[1], t[2]);
    glRotatef(p.part[i].rotation[0], 1, 0, 0);
    glRotatef(p.part[i].rotation[1], 0, 1, 0);
    glRotatef(p.part[i].rotation[2], 0, 0, 1);
    glGetFloatv(GL_MODELVIEW_MATRIX, out);
    glPopMatrix();
}

}  // namespace

TEST(PartMatricesAgainstGL, RandomPosesOfEveryPartMatchGL) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> angle(-360, 360);
    std::uniform_real_distribution<float> pos(-50, 50);
    Person p;
    p.setGender(false, 0.9f);
    for (int trial = 0; trial < 200; trial++) {
        p.setPosition(pos(rng), pos(rng), pos(rng));
        for (int i = 0; i < BODY_PART_COUNT; i++) {
            for (int a = 0; a < 3; a++) p.part[i].rotation[a] = angle(rng);
            p.computePartTransform(i);
            float gl[16];
            glMatrixFor(p, i, gl);
            for (int k = 0; k < 16; k++)
                ASSERT_NEAR(p.part[i].transform[k], gl[k], 2e-5f * (1 + std::abs(gl[k])))
                    << "trial " << trial << " part " << i << " element " << k;
        }
    }
}

TEST(PartMatricesAgainstGL, QuarterTurnColumnsMatchGL) {
    Person p;
    p.part[NECK].rotation[0] = 90;
    p.part[NECK].rotation[1] = 0;
    p.part[NECK].rotation[2] = 0;
    p.part[NECK].setJointOffset(0, 2, 0);
    p.computePartTransform(NECK);
    float gl[16];
    glMatrixFor(p, NECK, gl);
    const float expect[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 2, 0, 1};
    for (int k = 0; k < 16; k++) {
        EXPECT_NEAR(gl[k], expect[k], 1e-6);
        EXPECT_NEAR(p.part[NECK].transform[k], gl[k], 1e-6);
    }
}
