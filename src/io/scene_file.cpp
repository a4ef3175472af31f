// scene_file.cpp - scene capture, the scene writer and the scene reader.
//
// The fields themselves are listed once: a figure's in figure_fields.h, a
// keyframe's in keyframe_animation.h, the scene's settings in scene_file.h.
// This file only walks those lists.
//
// Sections (search "[SECTION]"):
//   Field tables
//   Numbers as text
//   Capture and apply
//   Writer
//   Reader: lines, settings, figures, animators, final checks
#include "io/scene_file.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <unordered_set>

#include "core/app_state.h"

const char* const kSceneDefaultMusic = "media/01.mp3";

namespace {

constexpr const char* kVersionWord = "puppetorium-scene";
constexpr const char* kEndLine = "end";
constexpr float kMaxMagnitude = kFieldMagnitude;
constexpr int kMaxSteps = 1000000;
constexpr std::size_t kMaxMusicPath = 1024;
// A file of nothing but unknown lines would otherwise fill memory and the
// console with warnings: the first few are named, the rest counted.
constexpr int kNamedUnknownLines = 10;
// A token quoted in an error is cut to this many characters.
constexpr std::size_t kQuotedTokenChars = 24;

// [SECTION] Field tables

#define SCENE_ENTRY_ANIM(m, name, path) {name, &Scene::m},
#define SCENE_SKIP(...)

struct SceneAnimator { const char* owner; KeyFrameAnimation Scene::*field; };
const SceneAnimator kSceneAnimators[] = {
    SCENE_SETTINGS(SCENE_SKIP, SCENE_SKIP, SCENE_SKIP, SCENE_SKIP, SCENE_ENTRY_ANIM)};

// How many words a field's value takes on a line.
template <typename T>
std::size_t width(const Field<T>& f) { return f.kind == FieldKind::Triple ? 3 : 1; }

// [SECTION] Numbers as text

bool parseFloat(const std::string& s, float& v) {
    const char* end = s.data() + s.size();
    auto r = std::from_chars(s.data(), end, v);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(v) && std::fabs(v) <= kMaxMagnitude;
}

bool parseInt(const std::string& s, int& v) {
    const char* end = s.data() + s.size();
    auto r = std::from_chars(s.data(), end, v);
    return r.ec == std::errc() && r.ptr == end;
}

std::string intText(int v) { return std::to_string(v); }

// 'token' for an error line, a long one cut short ('12345678...').
std::string quoted(const std::string& token) {
    if (token.size() <= kQuotedTokenChars) return "'" + token + "'";
    return "'" + token.substr(0, kQuotedTokenChars) + "...' (" + std::to_string(token.size()) +
           " characters)";
}

// A keyframe length is a float that holds a whole number; the shortest float
// text of 100000 is "1e+05", which the reader's whole-number check refuses.
std::string stepsText(float v) {
    if (v == std::floor(v) && std::fabs(v) <= static_cast<float>(INT_MAX / 2))
        return intText(static_cast<int>(v));
    return sceneFloatText(v);
}

}  // namespace

std::string sceneFloatText(float v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// [SECTION] Capture and apply

namespace {

template <typename T>
void copyValue(T& to, const T& from) { to = from; }
void copyValue(float (&to)[3], const float (&from)[3]) { std::memcpy(to, from, sizeof to); }

void captureFigure(const Person& p, SceneFigure& f) {
    static_cast<FigureFields&>(f) = p;
    f.kfaPos = p.kfaPos;
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        f.part[i] = p.part[i];
        f.kfa[i] = p.part[i].kfa;
    }
}

}  // namespace

#define SCENE_CAPTURE(m, name, path, ...) copyValue(scene.m, s.path);
#define SCENE_APPLY(m, name, path, ...) copyValue(s.path, scene.m);

void captureScene(const AppState& s, Scene& scene) {
    SCENE_SETTINGS(SCENE_CAPTURE, SCENE_CAPTURE, SCENE_CAPTURE, SCENE_CAPTURE, SCENE_CAPTURE)
    // Taking figures away (key p) can leave the selection past the last one;
    // the file says the figure that is really there.
    scene.selectedPerson = std::min(scene.selectedPerson, std::max(scene.numPersons - 1, 0));
    for (int i = 0; i < MAX_PERSONS; i++) captureFigure(s.persons[i], scene.persons[i]);
    std::memcpy(scene.lightEnabled, s.lightEnabled, sizeof scene.lightEnabled);
    scene.musicFile = s.sceneMusicFile;
}

void applySceneSettings(const Scene& scene, AppState& s) {
    SCENE_SETTINGS(SCENE_APPLY, SCENE_APPLY, SCENE_APPLY, SCENE_APPLY, SCENE_APPLY)
    std::memcpy(s.lightEnabled, scene.lightEnabled, sizeof s.lightEnabled);
    s.sceneMusicFile = scene.musicFile;
}

// [SECTION] Writer

namespace {

class SceneWriter {
public:
    std::string out;

    void line(const std::string& text) { out += text; out += '\n'; }
    std::string triple(const float v[3]) {
        return sceneFloatText(v[0]) + " " + sceneFloatText(v[1]) + " " + sceneFloatText(v[2]);
    }

    // A field's value as the words after its name.
    template <typename T>
    std::string value(const Field<T>& f, const T& r) {
        switch (f.kind) {
            case FieldKind::Flag: return intText(r.*f.flag);
            case FieldKind::Whole: return intText(r.*f.whole);
            case FieldKind::Number: return sceneFloatText(r.*f.number);
            case FieldKind::Count: return stepsText(r.*f.number);
            case FieldKind::Triple: return triple(r.*f.triple);
        }
        return {};
    }

    // Value, origin and keyframes first, the play state last, so a reader
    // checks the play state against the queue it has just read.
    void animator(const std::string& owner, const KeyFrameAnimation& a) {
        const std::string p = "anim " + owner + " ";
        line(p + "value " + triple(a.value));
        const KeyFrame& o = a.origin;
        line(p + "origin " + sceneFloatText(o.x) + " " + sceneFloatText(o.y) + " " +
             sceneFloatText(o.z) + " " + intText(o.mode) + " " + intText(a.originSet));
        // Trailing fields at their defaults are left out: a keyframe that
        // needs no field added since (a spline) reads the same in every build.
        static const KeyFrame fresh{};
        for (int k = 0; k < a.numKeyFrames; k++) {
            std::string key = p + "key", tail;
            for (const Field<KeyFrame>& f : kKeyFrameFields) {
                if (!f.name) continue;
                tail += " " + value(f, a.keyFrames[k]);
                if (!sameField(a.keyFrames[k], fresh, f)) {
                    key += tail;
                    tail.clear();
                }
            }
            line(key);
        }
        line(p + "play " + intText(a.currentIndex) + " " + sceneFloatText(a.currentTime) + " " +
             sceneFloatText(a.segmentTime) + " " + intText(a.loopCount) + " " + intText(a.cycle) +
             " " + intText(a.startFromOrigin));
    }

    void figure(int i, const SceneFigure& f) {
        const std::string p = "person " + intText(i) + " ";
        for (const Field<FigureFields>& x : kFigureFields)
            if (x.name) line(p + x.name + " " + value(x, static_cast<const FigureFields&>(f)));
        for (const Field<PartFields>& x : kPartFields)
            if (x.name)
                for (int k = 0; k < BODY_PART_COUNT; k++)
                    line(p + x.name + " " + kBodyPartLabels[k] + " " + value(x, f.part[k]));
        const std::string owner = "person." + intText(i) + ".";
        animator(owner + "pos", f.kfaPos);
        for (int k = 0; k < BODY_PART_COUNT; k++) animator(owner + kBodyPartLabels[k], f.kfa[k]);
    }
};

}  // namespace

std::string writeSceneText(const Scene& scene) {
    SceneWriter w;
    w.line(std::string(kVersionWord) + " " + intText(kSceneFormatVersion));
    for (const Field<Scene>& f : kSceneFields) w.line(std::string(f.name) + " " + w.value(f, scene));
    std::string lights = "lightEnabled";
    for (bool on : scene.lightEnabled) lights += on ? " 1" : " 0";
    w.line(lights);
    w.line("music " + scene.musicFile);
    for (const SceneAnimator& a : kSceneAnimators) w.animator(a.owner, scene.*a.field);
    for (int i = 0; i < scene.numPersons; i++) w.figure(i, scene.persons[i]);
    w.line(kEndLine);
    return w.out;
}

// [SECTION] Reader

namespace {

enum class LineResult { Taken, Unknown, Bad };

// An eye on its target, or straight above or below it, leaves the view
// without a direction or without an up (a white window, a white film):
// the eye steps a little towards the viewer. True when it was moved.
bool nudgeDegenerateCamera(float eye[3], const float target[3]) {
    const double dx = eye[0] - target[0], dy = eye[1] - target[1], dz = eye[2] - target[2];
    const double across = std::sqrt(dx * dx + dz * dz);
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (across > 1e-3 * std::max(1.0, length)) return false;
    // Far from the origin a small step would round away in float.
    const double step = std::max({0.5, 0.05 * length, 1e-5 * std::fabs(target[2])});
    eye[2] = static_cast<float>(target[2] + step);
    return true;
}

class SceneReader {
public:
    SceneReader(Scene& scene, std::vector<std::string>& warnings) : scene(scene), warnings(warnings) {}

    bool read(const std::string& text, std::string& error);

private:
    Scene& scene;
    std::vector<std::string>& warnings;
    std::vector<std::string> tok;   // the current line's words
    std::string why;                // what was wrong with a Bad line
    std::unordered_set<KeyFrameAnimation*> replaced;
    int unknownLines = 0;
    int version = 0;

    LineResult bad(const std::string& reason) { why = reason; return LineResult::Bad; }

    bool wantCount(std::size_t n) {
        if (tok.size() == n) return true;
        why = "expected " + std::to_string(n - 1) + " words after " + quoted(tok[0]);
        return false;
    }
    LineResult number(const std::string& s, float& v, double min, double max) {
        if (!parseFloat(s, v) || v < min || v > max) return bad(quoted(s) + " is not a number in range");
        return LineResult::Taken;
    }
    LineResult integer(const std::string& s, int& v, double min, double max) {
        if (!parseInt(s, v) || v < min || v > max) return bad(quoted(s) + " is not a whole number in range");
        return LineResult::Taken;
    }
    LineResult flag(const std::string& s, bool& v) {
        if (s != "0" && s != "1") return bad(quoted(s) + " is not 0 or 1");
        v = s == "1";
        return LineResult::Taken;
    }
    LineResult triple(std::size_t first, float v[3]) {
        float t[3];
        for (int k = 0; k < 3; k++)
            if (number(tok[first + k], t[k], -kMaxMagnitude, kMaxMagnitude) == LineResult::Bad)
                return LineResult::Bad;
        std::memcpy(v, t, sizeof t);
        return LineResult::Taken;
    }

    // Reads one listed field from the words at `first` on.
    template <typename T>
    LineResult field(const Field<T>& f, T& r, std::size_t first) {
        switch (f.kind) {
            case FieldKind::Flag: return flag(tok[first], r.*f.flag);
            case FieldKind::Whole: return integer(tok[first], r.*f.whole, f.min, f.max);
            case FieldKind::Number: return number(tok[first], r.*f.number, f.min, f.max);
            case FieldKind::Count: {
                int n = 0;
                if (integer(tok[first], n, f.min, f.max) == LineResult::Bad) return LineResult::Bad;
                r.*f.number = static_cast<float>(n);
                return LineResult::Taken;
            }
            case FieldKind::Triple: return triple(first, r.*f.triple);
        }
        return LineResult::Unknown;
    }
    // NAME values..., the field found by name in `list`.
    template <typename T, std::size_t N>
    LineResult namedField(const Field<T> (&list)[N], T& r, const std::string& name, std::size_t first) {
        for (const Field<T>& f : list)
            if (f.name && name == f.name)
                return wantCount(first + width(f)) ? field(f, r, first) : LineResult::Bad;
        return LineResult::Unknown;
    }

    LineResult setting(const std::string& rawLine);
    LineResult figureLine();
    LineResult animatorLine();
    KeyFrameAnimation* owner(const std::string& name);
    bool finalChecks(std::string& error);
};

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t next = line.find(' ', at);
        const std::size_t end = next == std::string::npos ? line.size() : next;
        if (end > at) words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

LineResult SceneReader::setting(const std::string& rawLine) {
    const std::string& name = tok[0];
    if (name == "music") {
        // The rest of the line, blanks and all, is the path.
        const std::string path = rawLine.size() > 6 ? rawLine.substr(6) : std::string();
        if (path.size() > kMaxMusicPath) return bad("music path too long");
        for (unsigned char c : path)
            if (c < 0x20) return bad("music path holds a control character");
        scene.musicFile = path;
        return LineResult::Taken;
    }
    if (name == "lightEnabled") {
        if (!wantCount(5)) return LineResult::Bad;
        bool on[4];
        for (int k = 0; k < 4; k++)
            if (flag(tok[1 + k], on[k]) == LineResult::Bad) return LineResult::Bad;
        std::memcpy(scene.lightEnabled, on, sizeof on);
        return LineResult::Taken;
    }
    return namedField(kSceneFields, scene, name, 1);
}

int partIndex(const std::string& label) {
    for (int k = 0; k < BODY_PART_COUNT; k++)
        if (label == kBodyPartLabels[k]) return k;
    return -1;
}

// person N FIELD values...
LineResult SceneReader::figureLine() {
    if (tok.size() < 3) return LineResult::Unknown;
    int i = 0;
    if (integer(tok[1], i, 0, MAX_PERSONS - 1) == LineResult::Bad) return LineResult::Bad;
    SceneFigure& f = scene.persons[i];
    const std::string& name = tok[2];
    // person N NAME LABEL values...: a part's field.
    for (const Field<PartFields>& x : kPartFields) {
        if (!x.name || name != x.name) continue;
        if (!wantCount(4 + width(x))) return LineResult::Bad;
        const int k = partIndex(tok[3]);
        if (k < 0) return LineResult::Unknown;
        return field(x, f.part[k], 4);
    }
    return namedField(kFigureFields, static_cast<FigureFields&>(f), name, 3);
}

// "camera.eye", "camera.target", "light", "person.N.pos", "person.N.LABEL".
KeyFrameAnimation* SceneReader::owner(const std::string& name) {
    for (const SceneAnimator& a : kSceneAnimators)
        if (name == a.owner) return &(scene.*a.field);
    if (name.compare(0, 7, "person.") != 0) return nullptr;
    const std::size_t dot = name.find('.', 7);
    if (dot == std::string::npos) return nullptr;
    int i = 0;
    if (!parseInt(name.substr(7, dot - 7), i) || i < 0 || i >= MAX_PERSONS) return nullptr;
    const std::string what = name.substr(dot + 1);
    if (what == "pos") return &scene.persons[i].kfaPos;
    const int k = partIndex(what);
    return k < 0 ? nullptr : &scene.persons[i].kfa[k];
}

// anim OWNER value|origin|key|play values...
LineResult SceneReader::animatorLine() {
    if (tok.size() < 3) return LineResult::Unknown;
    KeyFrameAnimation* a = owner(tok[1]);
    const std::string& what = tok[2];
    if (!a || (what != "value" && what != "origin" && what != "key" && what != "play"))
        return LineResult::Unknown;
    // The first line naming an animator replaces it whole (a copy keeps the
    // storage already there, so a reused scene reads without allocating).
    static const KeyFrameAnimation fresh;
    if (replaced.insert(a).second) *a = fresh;
    if (what == "value") return wantCount(6) ? triple(3, a->value) : LineResult::Bad;
    if (what == "origin") {
        if (!wantCount(8)) return LineResult::Bad;
        float v[3];
        int mode = 0;
        if (triple(3, v) == LineResult::Bad || integer(tok[6], mode, INT_MIN, INT_MAX) == LineResult::Bad ||
            flag(tok[7], a->originSet) == LineResult::Bad)
            return LineResult::Bad;
        a->origin.x = v[0]; a->origin.y = v[1]; a->origin.z = v[2];
        a->origin.mode = mode;
        return LineResult::Taken;
    }
    if (what == "key") {
        // Every field through the steps; later ones may be left out and
        // keep their defaults (files from before they were added).
        std::size_t words = 3, needed = 0;
        for (const Field<KeyFrame>& f : kKeyFrameFields) {
            if (!f.name) continue;
            words += width(f);
            if (std::strcmp(f.name, "steps") == 0) needed = words;
        }
        if (tok.size() < needed || tok.size() > words) {
            why = "expected " + std::to_string(needed - 1) + " to " + std::to_string(words - 1) +
                  " words after 'anim'";
            return LineResult::Bad;
        }
        if (a->numKeyFrames >= KEYFRAME_CAPACITY) return bad("more keyframes than an animator holds");
        KeyFrame k;
        std::size_t at = 3;
        for (const Field<KeyFrame>& f : kKeyFrameFields) {
            if (!f.name || at >= tok.size()) continue;
            if (at + width(f) > tok.size()) return bad("a keyframe field is cut short");
            if (field(f, k, at) == LineResult::Bad) return LineResult::Bad;
            at += width(f);
        }
        a->insertRecord(a->numKeyFrames, k);  // the times follow at the end
        return LineResult::Taken;
    }
    // play: currentIndex currentTime segmentTime loopCount cycle startFromOrigin
    if (!wantCount(9)) return LineResult::Bad;
    // Checked against the queue once the whole file is read.
    if (integer(tok[3], a->currentIndex, 0, KEYFRAME_CAPACITY - 1) == LineResult::Bad ||
        number(tok[4], a->currentTime, 0, kMaxMagnitude) == LineResult::Bad ||
        number(tok[5], a->segmentTime, 0, kMaxSteps) == LineResult::Bad ||
        integer(tok[6], a->loopCount, 0, INT_MAX) == LineResult::Bad ||
        flag(tok[7], a->cycle) == LineResult::Bad || flag(tok[8], a->startFromOrigin) == LineResult::Bad)
        return LineResult::Bad;
    return LineResult::Taken;
}

bool SceneReader::read(const std::string& text, std::string& error) {
    std::size_t at = 0;
    int lineNo = 0;
    bool versionSeen = false;
    while (at < text.size()) {
        std::size_t nl = text.find('\n', at);
        const bool lastLine = nl == std::string::npos;
        std::string line = text.substr(at, lastLine ? std::string::npos : nl - at);
        at = lastLine ? text.size() : nl + 1;
        lineNo++;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = "line " + std::to_string(lineNo) + ": ";
        tok = splitWords(line);
        if (!versionSeen) {
            if (tok.size() != 2 || tok[0] != kVersionWord || !parseInt(tok[1], version) || version < 1) {
                error = where + "not a scene file (no \"" + kVersionWord + " N\" line)";
                return false;
            }
            versionSeen = true;
            continue;
        }
        if (tok.empty() || tok[0][0] == '#') continue;
        if (line == kEndLine) return finalChecks(error);
        LineResult r = LineResult::Unknown;
        if (tok[0] == "person") r = figureLine();
        else if (tok[0] == "anim") r = animatorLine();
        else r = setting(line);
        if (r == LineResult::Bad) {
            error = where + why;
            return false;
        }
        if (r == LineResult::Unknown && ++unknownLines <= kNamedUnknownLines)
            warnings.push_back(where + "not understood, skipped: " +
                               (line.size() > 80 ? line.substr(0, 80) + "..." : line));
    }
    error = versionSeen ? "the file ends before its \"end\" line" : "the file is empty";
    return false;
}

bool SceneReader::finalChecks(std::string& error) {
    if (unknownLines > kNamedUnknownLines)
        warnings.push_back("has " + std::to_string(unknownLines - kNamedUnknownLines) +
                           " more lines not understood, skipped");
    if (version > kSceneFormatVersion)
        warnings.push_back("is version " + std::to_string(version) + ", newer than this program's " +
                           std::to_string(kSceneFormatVersion) + ": " +
                           (unknownLines ? std::to_string(unknownLines) + " lines it does not know were skipped"
                                         : std::string("every line was understood")));
    // F7 would record on a figure that is not shown.
    if (scene.selectedPerson >= std::max(scene.numPersons, 1)) {
        error = "selectedPerson " + std::to_string(scene.selectedPerson) + " is not one of the " +
                std::to_string(scene.numPersons) + " figures in use";
        return false;
    }
    if (nudgeDegenerateCamera(scene.eye, scene.target))
        warnings.push_back("has a camera looking straight down or up, or from its target: its eye was moved a little");
    // The play state must lie on the animator's own time line.
    for (KeyFrameAnimation* a : replaced) {
        a->ensureTimes();
        const int n = a->numKeyFrames;
        const float end = n > 0 ? a->keyFrames[n - 1].endTime : 0;
        if (a->currentIndex >= (n > 0 ? n : 1) || a->currentTime > end) {
            error = "an animator's play state lies beyond its keyframes";
            return false;
        }
    }
    return true;
}

}  // namespace

bool readSceneText(const std::string& text, Scene& scene, std::string& error,
                   std::vector<std::string>& warnings) {
    SceneReader reader(scene, warnings);
    return reader.read(text, error);
}
