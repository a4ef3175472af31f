// textured_box.h - the one box primitive: a cube from -1 to +1 on every
// axis, scaled per axis, optionally with its own texture on each face.
//
// Face order: +z, -z, +y, -y, -x, +x. The model half (scale, face slots) is
// GL-free; draw() lives in textured_box.cpp.
#pragma once

class TexturedBox {
public:
    float scaleX = 1, scaleY = 1, scaleZ = 1;
    int faceTexture[6] = {0, 0, 0, 0, 0, 0};
    bool useFaceTextures = false;

    TexturedBox() { reset(); }

    // Scale (1, 1, 1), per-face texturing off; the face slots stay.
    void reset() {
        scaleX = scaleY = scaleZ = 1;
        useFaceTextures = false;
    }
    void setScale(float x, float y, float z) { scaleX = x; scaleY = y; scaleZ = z; }
    void setFaceTextures(int f0, int f1, int f2, int f3, int f4, int f5) {
        faceTexture[0] = f0; faceTexture[1] = f1; faceTexture[2] = f2;
        faceTexture[3] = f3; faceTexture[4] = f4; faceTexture[5] = f5;
        useFaceTextures = true;
    }
    // Draws in the current matrix and leaves it as it found it. After a draw
    // with face textures the last face's texture stays bound.
    void draw() const;
    // Face f of the unit cube as draw() sends it: its corners and their
    // texture coordinates, in order.
    static void face(int f, float corner[4][3], float texCoord[4][2]);
};
