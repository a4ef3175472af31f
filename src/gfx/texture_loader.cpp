// texture_loader.cpp - uploads bitmaps read by bitmap_reader as GL textures.
#include "gfx/texture_loader.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <string>
#include <vector>

#include "base/console.h"
#include "gfx/texture_slots.h"
#include "gfx/bitmap_reader.h"

namespace {
// Never handed out by the counter; binding it shows no texture.
constexpr GLuint kNoTexture = static_cast<GLuint>(-1);

// The application record owns the table and the counter (they are reset with
// it); it tells the loader where they are once, when it is made.
int* gSlotNames = nullptr;
int* gNextName = nullptr;
}  // namespace

void useTextureTable(int* slotNames, int* nextName) {
    gSlotNames = slotNames;
    gNextName = nextName;
}

int mipmapSide(int side) {
    if (side <= 1) return 1;
    int power = 1;
    unsigned v = static_cast<unsigned>(side);
    for (; v > 3; v >>= 1) power <<= 1;
    return v == 3 ? power * 4 : power * v;
}

int loadTexture(const char* path) {
    ++*gNextName;  // counted even when the load fails
    const BitmapImage img = readBitmapFile(path);
    if (!img.ok()) {
        consoleError(std::string(">> ERROR: '") + path + "' " + img.error);
        return -1;
    }

    const GLuint name = static_cast<GLuint>(*gNextName);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);

    // Level 0 as it is, then the mipmap chain, which replaces level 0 with the
    // picture rescaled to powers of two. The mipmap builder's own rescaling
    // leaves rows black when only the width needs it (3 x 2, 6 x 4, ...), so
    // the rescale to the same size is done beforehand with the image scaler,
    // which gets it right.
    glTexImage2D(GL_TEXTURE_2D, 0, 4, img.width, img.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 img.rgba.data());
    const int w = mipmapSide(img.width), h = mipmapSide(img.height);
    if (w == img.width && h == img.height) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, w, h, GL_RGBA, GL_UNSIGNED_BYTE, img.rgba.data());
    } else {
        std::vector<unsigned char> scaled(static_cast<size_t>(w) * h * 4);
        gluScaleImage(GL_RGBA, img.width, img.height, GL_UNSIGNED_BYTE, img.rgba.data(), w, h,
                      GL_UNSIGNED_BYTE, scaled.data());
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, w, h, GL_RGBA, GL_UNSIGNED_BYTE, scaled.data());
    }

    consoleReport(std::string(">> Loaded texture '") + path + "'");
    return *gNextName;
}

unsigned slotTexture(int slot) {
    const bool inTable = slot >= 0 && slot < TEXTURE_SLOT_COUNT;
    return inTable ? static_cast<GLuint>(gSlotNames[slot]) : kNoTexture;
}

void bindTextureSlot(int slot) { glBindTexture(GL_TEXTURE_2D, slotTexture(slot)); }
