// The field lists: every listed field of a figure, a part, a keyframe and
// the scene survives undo and the scene file, and a member added to a figure
// or a part outside the lists is caught (it would be lost by both).
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "edit/history.h"
#include "io/scene_file.h"

namespace {

// The members Person and BodyPart hold besides their lists. When a size
// differs, a member was added outside the lists: list it in figure_fields.h
// (undo and scene files keep it) or, if it is only drawing state, here.
struct PersonMirror : FigureFields {
    BodyPart part[BODY_PART_COUNT];
    KeyFrameAnimation kfaPos;
    TexturedBox torsoBox;
    GLUquadric* partQuadric;
};
struct BodyPartMirror : PartFields {
    KeyFrameAnimation kfa;
    float transform[16];
    std::string label;
    int index;
    BodyPart* nextSibling;
    BodyPart* firstChild;
};

// A value for field number `n` that differs from its default and from the
// other fields' values, inside the bounds a reader accepts when `inBounds`.
template <typename T>
void setDistinct(const Field<T>& f, T& r, int n, bool inBounds) {
    const float fraction = 0.37f + n / 7.0f;
    switch (f.kind) {
        case FieldKind::Flag: r.*f.flag = !(r.*f.flag); break;
        case FieldKind::Whole:
            r.*f.whole = !inBounds ? 1000 + n : r.*f.whole == static_cast<int>(f.max) ? static_cast<int>(f.min)
                                                                                      : static_cast<int>(f.max);
            break;
        case FieldKind::Number: r.*f.number = inBounds && f.max < fraction ? static_cast<float>(f.max) / 3 : fraction; break;
        case FieldKind::Count: r.*f.number = static_cast<float>(17 + n); break;
        case FieldKind::Triple:
            for (int k = 0; k < 3; k++) (r.*f.triple)[k] = fraction * (k + 1) - k * 100;
            break;
    }
}

template <typename T, std::size_t N>
void setAll(const Field<T> (&list)[N], T& r, bool savedOnly) {
    for (std::size_t i = 0; i < N; i++)
        if (list[i].name || !savedOnly) setDistinct(list[i], r, static_cast<int>(i), savedOnly);
}

// Names the first listed field whose values differ ("" when none does).
template <typename T, std::size_t N>
std::string firstDifference(const Field<T> (&list)[N], const T& a, const T& b, bool savedOnly) {
    for (std::size_t i = 0; i < N; i++) {
        if ((list[i].name || !savedOnly) && !sameField(a, b, list[i]))
            return list[i].name ? list[i].name : "field " + std::to_string(i);
    }
    return "";
}

}  // namespace

TEST(FieldLists, EveryMemberOfAFigureIsListedOrDeclaredDrawingOnly) {
    EXPECT_EQ(sizeof(Person), sizeof(PersonMirror));
    EXPECT_EQ(sizeof(BodyPart), sizeof(BodyPartMirror));
}

TEST(FieldLists, UndoRestoresEveryListedFigureAndPartField) {
    resetAppState();
    Person& p = app.persons[0];
    setAll(kFigureFields, static_cast<FigureFields&>(p), false);
    for (BodyPart& b : p.part) setAll(kPartFields, static_cast<PartFields&>(b), false);
    const FigureFields figure = p;
    PartFields parts[BODY_PART_COUNT];
    for (int k = 0; k < BODY_PART_COUNT; k++) parts[k] = p.part[k];

    History h;
    h.record("change", 0, 1);
    p.reset();
    ASSERT_FALSE(sameFields(figure, static_cast<const FigureFields&>(p), kFigureFields));
    ASSERT_TRUE(h.undo());
    EXPECT_EQ(firstDifference(kFigureFields, figure, static_cast<const FigureFields&>(p), false), "");
    for (int k = 0; k < BODY_PART_COUNT; k++)
        EXPECT_EQ(firstDifference(kPartFields, parts[k], static_cast<const PartFields&>(p.part[k]), false), "")
            << kBodyPartLabels[k];
    resetAppState();
}

// Every saved field off its default, written and read into a default scene.
TEST(FieldLists, TheSceneFileKeepsEverySavedField) {
    auto written = makeScene();
    Scene& s = *written;
    setAll(kSceneFields, s, true);
    s.numPersons = 2;
    for (int i = 0; i < s.numPersons; i++) {
        SceneFigure& f = s.persons[i];
        setAll(kFigureFields, static_cast<FigureFields&>(f), true);
        for (PartFields& part : f.part) setAll(kPartFields, part, true);
        f.kfa[HEAD].pushKeyFrame(1, 2, 3, ABS, 5);
        setAll(kKeyFrameFields, f.kfa[HEAD].keyFrames[0], true);
    }
    s.persons[1].part[HEAD].rotation[2] = -42;

    auto read = makeScene();
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(readSceneText(writeSceneText(s), *read, error, warnings)) << error;
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(firstDifference(kSceneFields, s, *read, true), "");
    for (int i = 0; i < s.numPersons; i++) {
        const SceneFigure &f = s.persons[i], &g = read->persons[i];
        EXPECT_EQ(firstDifference(kFigureFields, static_cast<const FigureFields&>(f),
                                  static_cast<const FigureFields&>(g), true), "");
        for (int k = 0; k < BODY_PART_COUNT; k++)
            EXPECT_EQ(firstDifference(kPartFields, f.part[k], g.part[k], true), "") << kBodyPartLabels[k];
        EXPECT_EQ(firstDifference(kKeyFrameFields, f.kfa[HEAD].keyFrames[0], g.kfa[HEAD].keyFrames[0], true), "");
    }
}
