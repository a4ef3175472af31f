// The field lists: every listed field of a figure, a part, a keyframe and
// the scene survives undo and the scene file, and a member added to a figure
// or a part outside the lists is caught (it would be lost by both).
#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/history.h"
#include "io/scene_file.h"

namespace {

// The members Person and BodyPart hold besides their lists. A member added
// outside the lists shows as a larger record, or as bytes the constructor
// wrote outside every member named here (it may sit in former padding): list
// it in figure_fields.h (undo and scene files keep it) or, if it is only
// drawing state, name it here.
struct PersonMirror : FigureFields {
    BodyPart part[BODY_PART_COUNT];
    KeyFrameAnimation kfaPos;
    TexturedBox torsoBox;
};
struct BodyPartMirror : PartFields {
    KeyFrameAnimation kfa;
    float transform[16];
    std::string label;
    int index;
};

// An animator is its state, which undo copies whole, and its records.
struct AnimatorMirror : KeyFrameAnimationState {
    KeyFrameRecords keyFrames;
};

struct Span { const void* at; std::size_t size; };
template <typename M>
Span span(const M& m) { return {&m, sizeof m}; }

// Offsets of bytes a fresh T's constructor wrote outside `known(t)`: built on
// two different fills, a byte outside every member keeps its fill in both.
template <typename T, typename Known>
std::vector<std::size_t> unknownBytesWritten(Known known) {
    std::vector<std::size_t> found;
    std::vector<unsigned char> fills[2] = {std::vector<unsigned char>(sizeof(T) + alignof(T), 0x00),
                                           std::vector<unsigned char>(sizeof(T) + alignof(T), 0xFF)};
    T* made[2];
    for (int f = 0; f < 2; f++) {
        void* at = fills[f].data();
        std::size_t room = fills[f].size();
        made[f] = new (std::align(alignof(T), sizeof(T), at, room)) T();
    }
    const std::vector<Span> spans = known(*made[0]);
    for (std::size_t i = 0; i < sizeof(T); i++) {
        const unsigned char* b0 = reinterpret_cast<const unsigned char*>(made[0]) + i;
        const unsigned char* b1 = reinterpret_cast<const unsigned char*>(made[1]) + i;
        bool inside = false;
        for (const Span& s : spans)
            inside = inside || (b0 >= static_cast<const unsigned char*>(s.at) &&
                                b0 < static_cast<const unsigned char*>(s.at) + s.size);
        if (!inside && (*b0 != 0x00 || *b1 != 0xFF)) found.push_back(i);
    }
    for (T* t : made) t->~T();
    return found;
}

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
    EXPECT_EQ(unknownBytesWritten<Person>([](const Person& p) {
                  return std::vector<Span>{span(static_cast<const FigureFields&>(p)), span(p.part),
                                           span(p.kfaPos), span(p.torsoBox)};
              }),
              std::vector<std::size_t>{});
    EXPECT_EQ(unknownBytesWritten<BodyPart>([](const BodyPart& b) {
                  return std::vector<Span>{span(static_cast<const PartFields&>(b)), span(b.kfa), span(b.transform),
                                           span(b.label), span(b.index)};
              }),
              std::vector<std::size_t>{});
}

TEST(FieldLists, EveryMemberOfAnAnimatorIsItsStateOrItsRecords) {
    EXPECT_EQ(sizeof(KeyFrameAnimation), sizeof(AnimatorMirror));
    EXPECT_EQ(unknownBytesWritten<KeyFrameAnimation>([](const KeyFrameAnimation& a) {
                  return std::vector<Span>{span(static_cast<const KeyFrameAnimationState&>(a)), span(a.keyFrames)};
              }),
              std::vector<std::size_t>{});
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
    s.selectedPerson = 1;  // off its default, and a figure in use
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
