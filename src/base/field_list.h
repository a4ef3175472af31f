// field_list.h - a record's fields as data: name, kind, member, bounds.
//
// A model keeps its saved fields in one list macro (figure_fields.h,
// keyframe_animation.h, scene_file.h). The macro declares the members and
// builds a table of these entries, and the scene writer, the scene reader
// and the comparisons walk the table, so a field added to the list is saved,
// read and compared with no other edit.
//
// An entry whose name is null is kept by undo (which copies the record whole)
// but derived, not saved: the loader recomputes it from the saved fields.
#pragma once

#include <cstddef>

enum class FieldKind {
    Flag,    // bool, written 0 or 1
    Whole,   // int
    Number,  // float
    Count,   // float holding a whole number (keyframe steps)
    Triple,  // float[3]
};

template <typename T>
struct Field {
    const char* name;   // as files name it; null when derived
    FieldKind kind;
    bool T::*flag;
    int T::*whole;
    float T::*number;   // Number and Count
    float (T::*triple)[3];
    double min, max;    // bounds a reader accepts; double holds every int exactly
};

// Any coordinate, angle or time beyond this is damage, not choreography.
constexpr float kFieldMagnitude = 1e9f;

template <typename T>
constexpr Field<T> flagField(const char* name, bool T::*m) {
    return {name, FieldKind::Flag, m, nullptr, nullptr, nullptr, 0, 1};
}
template <typename T>
constexpr Field<T> wholeField(const char* name, int T::*m, double lo, double hi) {
    return {name, FieldKind::Whole, nullptr, m, nullptr, nullptr, lo, hi};
}
template <typename T>
constexpr Field<T> numberField(const char* name, float T::*m, double lo, double hi) {
    return {name, FieldKind::Number, nullptr, nullptr, m, nullptr, lo, hi};
}
template <typename T>
constexpr Field<T> countField(const char* name, float T::*m, double lo, double hi) {
    return {name, FieldKind::Count, nullptr, nullptr, m, nullptr, lo, hi};
}
template <typename T>
constexpr Field<T> tripleField(const char* name, float (T::*m)[3]) {
    return {name, FieldKind::Triple, nullptr, nullptr, nullptr, m, -kFieldMagnitude, kFieldMagnitude};
}

// True when the field has one value in `a` and `b`.
template <typename T>
bool sameField(const T& a, const T& b, const Field<T>& f) {
    switch (f.kind) {
        case FieldKind::Flag: return a.*f.flag == b.*f.flag;
        case FieldKind::Whole: return a.*f.whole == b.*f.whole;
        case FieldKind::Number:
        case FieldKind::Count: return a.*f.number == b.*f.number;
        case FieldKind::Triple:
            for (int k = 0; k < 3; k++)
                if ((a.*f.triple)[k] != (b.*f.triple)[k]) return false;
            return true;
    }
    return false;
}

// True when every listed field of `a` equals the one of `b` (saved and
// derived alike).
template <typename T, std::size_t N>
bool sameFields(const T& a, const T& b, const Field<T> (&list)[N]) {
    for (const Field<T>& f : list)
        if (!sameField(a, b, f)) return false;
    return true;
}

// The members a list macro declares, and the table entries it builds. A list
// calls FLAG(member, name, default), WHOLE/NUMBER/COUNT(member, name,
// default, min, max) and TRIPLE(member, name, x, y, z).
#define PUPPET_DECLARE_FLAG(m, name, def) bool m = def;
#define PUPPET_DECLARE_WHOLE(m, name, def, lo, hi) int m = def;
#define PUPPET_DECLARE_NUMBER(m, name, def, lo, hi) float m = def;
#define PUPPET_DECLARE_TRIPLE(m, name, x, y, z) float m[3] = {x, y, z};

#define PUPPET_ENTRY_FLAG(m, name, def) flagField(name, &ListRecord::m),
#define PUPPET_ENTRY_WHOLE(m, name, def, lo, hi) wholeField(name, &ListRecord::m, lo, hi),
#define PUPPET_ENTRY_NUMBER(m, name, def, lo, hi) numberField(name, &ListRecord::m, lo, hi),
#define PUPPET_ENTRY_COUNT(m, name, def, lo, hi) countField(name, &ListRecord::m, lo, hi),
#define PUPPET_ENTRY_TRIPLE(m, name, x, y, z) tripleField(name, &ListRecord::m),

// Copies one listed field from `from` to `to`.
template <typename T>
void copySavedField(const Field<T>& f, T& to, const T& from) {
    switch (f.kind) {
        case FieldKind::Flag: to.*f.flag = from.*f.flag; break;
        case FieldKind::Whole: to.*f.whole = from.*f.whole; break;
        case FieldKind::Number:
        case FieldKind::Count: to.*f.number = from.*f.number; break;
        case FieldKind::Triple:
            for (int k = 0; k < 3; k++) (to.*f.triple)[k] = (from.*f.triple)[k];
            break;
    }
}
