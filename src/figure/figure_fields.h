// figure_fields.h - the fields of a figure and of a body part that undo and
// scene files keep, each stated once.
//
// To add a field to a figure: add one line to FIGURE_FIELDS (or PART_FIELDS
// for something every part has). Person and BodyPart inherit the members,
// undo copies the records whole, and the scene writer, reader and the
// comparisons walk the tables made here. A null name keeps the field in undo
// but not in scene files, for values the loader derives from the saved ones
// (sex, scale and skin give the sizes, joints and textures).
//
// Scene files write a figure's saved fields in list order: keep the present
// lines where they are, add new ones at the end of the list.
#pragma once

#include "base/field_list.h"
#include "figure/figure_limits.h"
#include "gfx/texture_slots.h"

// FLAG(member, name, default); WHOLE/NUMBER/COUNT(member, name, default, min, max);
// TRIPLE(member, name, x, y, z).
#define FIGURE_FIELDS(FLAG, WHOLE, NUMBER, COUNT, TRIPLE)                                   \
    FLAG(isMale, "male", true)                                                              \
    FLAG(showTrail, "showTrail", false)                                                     \
    FLAG(animating, "animating", true)                                                      \
    NUMBER(scale, "scale", 1.0f, 1e-6f, 1000)                                               \
    NUMBER(alpha, "alpha", 1.0f, -kFieldMagnitude, kFieldMagnitude)                         \
    NUMBER(trailAlpha, "trailAlpha", 0.2f, -kFieldMagnitude, kFieldMagnitude)               \
    NUMBER(trailFade, "trailFade", 0.05f, -kFieldMagnitude, kFieldMagnitude)                \
    /* the skin is a texture slot the drawing binds, so it must name one */                \
    WHOLE(skin, "skin", TEX_SKIN_LIGHT, 0, TEXTURE_SLOT_COUNT - 1)                          \
    WHOLE(leftHandItem, "leftHandItem", ITEM_NONE, 0, HAND_ITEM_COUNT - 1)                  \
    WHOLE(rightHandItem, "rightHandItem", ITEM_NONE, 0, HAND_ITEM_COUNT - 1)                \
    WHOLE(selectedPart, "selectedPart", 0, 0, BODY_PART_COUNT - 1)                          \
    TRIPLE(colour, "colour", 0, 0, 1)                                                       \
    TRIPLE(position, "position", 0, 0, 0)

// A part's saved line is "person N NAME LABEL values".
#define PART_FIELDS(FLAG, WHOLE, NUMBER, COUNT, TRIPLE)                                     \
    NUMBER(length, nullptr, 0.0f, 0, 0)                                                     \
    NUMBER(radius, nullptr, 0.0f, 0, 0)                                                     \
    TRIPLE(rotation, "rotation", 0, 0, 0)                                                   \
    TRIPLE(jointOffset, nullptr, 0, 0, 0)                                                   \
    TRIPLE(minRotation, nullptr, -360, -360, -360)                                          \
    TRIPLE(maxRotation, nullptr, 360, 360, 360)                                             \
    FLAG(limitsOn, nullptr, true)                                                           \
    WHOLE(texture, nullptr, 0, 0, 0)

// What a figure keeps besides its parts and animators.
struct FigureFields {
    FIGURE_FIELDS(PUPPET_DECLARE_FLAG, PUPPET_DECLARE_WHOLE, PUPPET_DECLARE_NUMBER, PUPPET_DECLARE_NUMBER,
                  PUPPET_DECLARE_TRIPLE)
};

// What a body part keeps besides its animator.
struct PartFields {
    PART_FIELDS(PUPPET_DECLARE_FLAG, PUPPET_DECLARE_WHOLE, PUPPET_DECLARE_NUMBER, PUPPET_DECLARE_NUMBER,
                PUPPET_DECLARE_TRIPLE)
};

namespace figure_field_list {
using ListRecord = FigureFields;
inline constexpr Field<FigureFields> table[] = {
    FIGURE_FIELDS(PUPPET_ENTRY_FLAG, PUPPET_ENTRY_WHOLE, PUPPET_ENTRY_NUMBER, PUPPET_ENTRY_COUNT,
                  PUPPET_ENTRY_TRIPLE)};
}  // namespace figure_field_list

namespace part_field_list {
using ListRecord = PartFields;
inline constexpr Field<PartFields> table[] = {
    PART_FIELDS(PUPPET_ENTRY_FLAG, PUPPET_ENTRY_WHOLE, PUPPET_ENTRY_NUMBER, PUPPET_ENTRY_COUNT,
                PUPPET_ENTRY_TRIPLE)};
}  // namespace part_field_list

inline constexpr const auto& kFigureFields = figure_field_list::table;
inline constexpr const auto& kPartFields = part_field_list::table;
