// texture_slots.h - the 21 texture slots and their bitmap files.
//
// `app.textures[slot]` holds the GL texture name loaded for each slot (or -1
// after a failed load). The face slots are laid out so that a person's face
// follows from gender and skin: 12/13 male, 14/15 female, the odd one dark.
#pragma once

enum TextureSlot {
    TEX_COLOR_WHITE = 0,
    TEX_COLOR_BLACK = 1,
    TEX_COLOR_YELLOW = 2,
    TEX_COLOR_SILVER = 3,
    TEX_FLOOR_WOODEN = 4,
    // Nothing draws the test pattern; the slot stays because slot numbers are
    // stored (a figure's skin in scene files) and the load order fixes which
    // GL name every later slot receives.
    TEX_TEST = 5,
    TEX_KEYBOARD_CHART = 6,
    TEX_LOGO = 7,
    TEX_LOGO_SIDES = 8,
    TEX_EYE = 9,
    TEX_SKIN_LIGHT = 10,
    TEX_SKIN_DARK = 11,
    TEX_SKIN_LIGHT_FACE_MALE = 12,
    TEX_SKIN_DARK_FACE_MALE = 13,
    TEX_SKIN_LIGHT_FACE_FEMALE = 14,
    TEX_SKIN_DARK_FACE_FEMALE = 15,
    TEX_FABRIC_BLACK = 16,
    TEX_FABRIC_RED = 17,
    TEX_FABRIC_GREY = 18,
    TEX_FABRIC_BLACK_SUIT_CUFF = 19,
    TEX_FABRIC_BLACK_SUIT_FRONT = 20,
    TEXTURE_SLOT_COUNT = 21
};

// File of each slot, in slot order.
constexpr const char* kTextureFiles[TEXTURE_SLOT_COUNT] = {
    "images/color_white.bmp",
    "images/color_black.bmp",
    "images/color_yellow.bmp",
    "images/color_silver.bmp",
    "images/floor_wooden.bmp",
    "images/test--.bmp",
    "images/keyboard_chart.bmp",
    "images/logo.bmp",
    "images/logo_sides.bmp",
    "images/eye.bmp",
    "images/skin_light.bmp",
    "images/skin_dark.bmp",
    "images/skin_light_face_male.bmp",
    "images/skin_dark_face_male.bmp",
    "images/skin_light_face_female.bmp",
    "images/skin_dark_face_female.bmp",
    "images/fabric_black.bmp",
    "images/fabric_red.bmp",
    "images/fabric_grey.bmp",
    "images/fabric_black_suit_cuff.bmp",
    "images/fabric_black_suit_front.bmp",
};

// Start-up load order; it fixes which GL name each slot receives.
constexpr int kTextureLoadOrder[TEXTURE_SLOT_COUNT] = {
    TEX_COLOR_WHITE, TEX_COLOR_BLACK, TEX_COLOR_YELLOW, TEX_COLOR_SILVER,
    TEX_TEST, TEX_FLOOR_WOODEN, TEX_KEYBOARD_CHART, TEX_LOGO, TEX_LOGO_SIDES,
    TEX_SKIN_LIGHT, TEX_SKIN_DARK,
    TEX_SKIN_LIGHT_FACE_MALE, TEX_SKIN_DARK_FACE_MALE,
    TEX_SKIN_LIGHT_FACE_FEMALE, TEX_SKIN_DARK_FACE_FEMALE,
    TEX_EYE, TEX_FABRIC_GREY, TEX_FABRIC_BLACK, TEX_FABRIC_RED,
    TEX_FABRIC_BLACK_SUIT_CUFF, TEX_FABRIC_BLACK_SUIT_FRONT,
};
