// textured_box.cpp - drawing the box: six quads of the scaled unit cube.
//
// No normals are sent: the faces take whatever normal is current, as the
// rest of the figure's flat parts do.
#include "figure/textured_box.h"

#include <GL/gl.h>

#include "gfx/texture_loader.h"

namespace {

constexpr float kCorner[8][3] = {
    {-1, 1, 1}, {1, 1, 1}, {1, -1, 1}, {-1, -1, 1},
    {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1},
};
// Face order +z, -z, +y, -y, -x, +x.
constexpr int kFace[6][4] = {
    {0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4}, {3, 2, 6, 7}, {0, 3, 7, 4}, {1, 2, 6, 5},
};
// Per face corner: the +z face shows its picture upright when seen from +z.
constexpr float kTexCoord[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};

}  // namespace

void TexturedBox::face(int f, float corner[4][3], float texCoord[4][2]) {
    for (int k = 0; k < 4; k++) {
        for (int a = 0; a < 3; a++) corner[k][a] = kCorner[kFace[f][k]][a];
        texCoord[k][0] = kTexCoord[k][0];
        texCoord[k][1] = kTexCoord[k][1];
    }
}

void TexturedBox::draw() const {
    glPushMatrix();
    glScalef(scaleX, scaleY, scaleZ);
    for (int f = 0; f < 6; f++) {
        if (useFaceTextures) bindTextureSlot(faceTexture[f]);
        glBegin(GL_QUADS);
        for (int k = 0; k < 4; k++) {
            glTexCoord2fv(kTexCoord[k]);
            glVertex3fv(kCorner[kFace[f][k]]);
        }
        glEnd();
    }
    glPopMatrix();
}
