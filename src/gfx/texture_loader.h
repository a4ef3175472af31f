// texture_loader.h - bitmap files to GL textures, and binding by slot.
//
// Texture names come from the loader's own counter (the record's `nextTextureName`),
// not from glGenTextures: the n-th call gets name n - 1, whether or not its
// file loads, so a missing picture never shifts the names of the others.
#pragma once

// Where the slot table (TEXTURE_SLOT_COUNT names) and the name counter live;
// the application record calls it once when it is made.
void useTextureTable(int* slotNames, int* nextName);

// Loads a 24-bit bitmap as a repeating, mipmapped 2D texture and returns its
// name, or -1 with an ">> ERROR: 'path' ..." console line saying why. Needs a
// current GL context. Leaves the texture environment mode at replace.
int loadTexture(const char* path);

// Binds the texture loaded for `slot` (an index into the record's `textures`). A slot
// outside the table binds a name that holds no image, as a failed load does:
// that surface is drawn untextured.
void bindTextureSlot(int slot);
// The texture name bindTextureSlot binds for `slot`.
unsigned slotTexture(int slot);

// The power of two a side is rescaled to for mipmapping: the highest power of
// two not above it, doubled when the next bit is set too (3 -> 4, 5 -> 4,
// 6 -> 8, 100 -> 128, 300 -> 256).
int mipmapSide(int side);
