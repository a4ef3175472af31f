// scene_file.cpp - scene capture, the scene writer and the scene reader.
//
// Index:
//   1. Field tables (settings and figure fields, with their bounds)
//   2. Numbers as text
//   3. Capture
//   4. Writer
//   5. Reader: lines, settings, figures, animators, final checks
#include "io/scene_file.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <unordered_set>

#include "scene/texture_slots.h"

const char* const kSceneDefaultMusic = "media/01.mp3";

namespace {

constexpr const char* kVersionWord = "puppetorium-scene";
constexpr const char* kEndLine = "end";
// Any coordinate, angle or time beyond this is damage, not choreography.
constexpr float kMaxMagnitude = 1e9f;
constexpr int kMaxSteps = 1000000;
constexpr std::size_t kMaxMusicPath = 1024;

// ============================================================== 1. Field tables

struct IntField { const char* name; int Scene::*field; int min, max; };
struct FloatField { const char* name; float Scene::*field; float min, max; };
struct BoolField { const char* name; bool Scene::*field; };
struct TripleField { const char* name; float (Scene::*field)[3]; };

const IntField kSceneInts[] = {
    {"numPersons", &Scene::numPersons, 0, MAX_PERSONS},
    {"selectedPerson", &Scene::selectedPerson, 0, MAX_PERSONS - 1},
    {"cameraMode", &Scene::cameraMode, 0, CAMERA_MODE_COUNT - 1},
};
const FloatField kSceneFloats[] = {
    {"playRate", &Scene::playRate, -1000, 1000},
    {"sceneClock", &Scene::sceneClock, 0, kMaxMagnitude},
    {"musicOffset", &Scene::musicOffset, -1e6f, 1e6f},
};
const BoolField kSceneBools[] = {
    {"wireframeOn", &Scene::wireframeOn},
    {"lightingOn", &Scene::lightingOn},
    {"texturesOn", &Scene::texturesOn},
    {"animateOn", &Scene::animateOn},
    {"showTargetMarker", &Scene::showTargetMarker},
    {"orthographicView", &Scene::orthographicView},
    {"cameraAnimationOn", &Scene::cameraAnimationOn},
    {"cameraTrackPaused", &Scene::cameraTrackPaused},
};
const TripleField kSceneTriples[] = {
    {"eye", &Scene::eye},
    {"target", &Scene::target},
};

struct FigureInt { const char* name; int SceneFigure::*field; int min, max; };
struct FigureFloat { const char* name; float SceneFigure::*field; float min, max; };
struct FigureBool { const char* name; bool SceneFigure::*field; };
struct FigureTriple { const char* name; float (SceneFigure::*field)[3]; };

const FigureBool kFigureBools[] = {
    {"male", &SceneFigure::isMale},
    {"showTrail", &SceneFigure::showTrail},
    {"animating", &SceneFigure::animating},
};
const FigureFloat kFigureFloats[] = {
    {"scale", &SceneFigure::scale, 1e-6f, 1000},
    {"alpha", &SceneFigure::alpha, -kMaxMagnitude, kMaxMagnitude},
    {"trailAlpha", &SceneFigure::trailAlpha, -kMaxMagnitude, kMaxMagnitude},
    {"trailFade", &SceneFigure::trailFade, -kMaxMagnitude, kMaxMagnitude},
};
// The skin is a texture slot the drawing binds, so it must name one.
const FigureInt kFigureInts[] = {
    {"skin", &SceneFigure::skin, 0, TEXTURE_SLOT_COUNT - 1},
    {"leftHandItem", &SceneFigure::leftHandItem, 0, HAND_ITEM_COUNT - 1},
    {"rightHandItem", &SceneFigure::rightHandItem, 0, HAND_ITEM_COUNT - 1},
    {"selectedPart", &SceneFigure::selectedPart, 0, BODY_PART_COUNT - 1},
};
const FigureTriple kFigureTriples[] = {
    {"colour", &SceneFigure::colour},
    {"position", &SceneFigure::position},
};

// ============================================================== 2. Numbers as text

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

}  // namespace

std::string sceneFloatText(float v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// ============================================================== 3. Capture

namespace {

void captureFigure(const Person& p, SceneFigure& f) {
    f.isMale = p.isMale;
    f.scale = p.scale;
    f.skin = p.skin;
    std::memcpy(f.colour, p.colour, sizeof f.colour);
    f.alpha = p.alpha;
    f.leftHandItem = p.leftHandItem;
    f.rightHandItem = p.rightHandItem;
    f.showTrail = p.showTrail;
    f.trailAlpha = p.trailAlpha;
    f.trailFade = p.trailFade;
    std::memcpy(f.position, p.position, sizeof f.position);
    f.selectedPart = p.selectedPart;
    f.animating = p.animating;
    f.kfaPos = p.kfaPos;
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        std::memcpy(f.rotation[i], p.part[i].rotation, sizeof f.rotation[i]);
        f.kfa[i] = p.part[i].kfa;
    }
}

}  // namespace

void captureScene(const AppState& s, Scene& scene) {
    scene.numPersons = s.numPersons;
    scene.selectedPerson = s.selectedPerson;
    for (int i = 0; i < MAX_PERSONS; i++) captureFigure(s.persons[i], scene.persons[i]);
    std::memcpy(scene.eye, s.camera.eye, sizeof scene.eye);
    std::memcpy(scene.target, s.camera.target, sizeof scene.target);
    scene.cameraMode = s.cameraMode;
    scene.cameraAnimationOn = s.camera.animationOn;
    scene.cameraTrackPaused = s.camera.trackPaused;
    scene.eyeAnim = s.camera.eyeAnim;
    scene.targetAnim = s.camera.targetAnim;
    scene.playRate = s.playRate;
    scene.sceneClock = s.sceneClock;
    scene.wireframeOn = s.wireframeOn;
    scene.lightingOn = s.lightingOn;
    scene.texturesOn = s.texturesOn;
    scene.animateOn = s.animateOn;
    scene.showTargetMarker = s.showTargetMarker;
    scene.orthographicView = s.orthographicView;
    std::memcpy(scene.lightEnabled, s.lightEnabled, sizeof scene.lightEnabled);
    scene.sceneLight = s.sceneLight;
    scene.musicFile = s.sceneMusicFile;
    scene.musicOffset = s.sceneMusicOffset;
}

// ============================================================== 4. Writer

namespace {

class SceneWriter {
public:
    std::string out;

    void line(const std::string& text) { out += text; out += '\n'; }
    std::string triple(const float v[3]) {
        return sceneFloatText(v[0]) + " " + sceneFloatText(v[1]) + " " + sceneFloatText(v[2]);
    }

    // Value, origin and keyframes first, the play state last, so a reader
    // checks the play state against the queue it has just read.
    void animator(const std::string& owner, const KeyFrameAnimation& a) {
        const std::string p = "anim " + owner + " ";
        line(p + "value " + triple(a.value));
        const KeyFrame& o = a.origin;
        line(p + "origin " + sceneFloatText(o.x) + " " + sceneFloatText(o.y) + " " +
             sceneFloatText(o.z) + " " + intText(o.mode) + " " + intText(a.originSet));
        for (int k = 0; k < a.numKeyFrames; k++) {
            const KeyFrame& f = a.keyFrames[k];
            // The kind only where it is not the spline, as files before it read.
            line(p + "key " + sceneFloatText(f.x) + " " + sceneFloatText(f.y) + " " +
                 sceneFloatText(f.z) + " " + intText(f.mode) + " " + sceneFloatText(f.steps) +
                 (f.kind != KIND_SPLINE ? std::string(" ") + keyFrameKindName(f.kind) : std::string()));
        }
        line(p + "play " + intText(a.currentIndex) + " " + sceneFloatText(a.currentTime) + " " +
             sceneFloatText(a.segmentTime) + " " + intText(a.loopCount) + " " + intText(a.cycle) +
             " " + intText(a.startFromOrigin));
    }

    void figure(int i, const SceneFigure& f) {
        const std::string p = "person " + intText(i) + " ";
        for (const FigureBool& b : kFigureBools) line(p + b.name + " " + intText(f.*b.field));
        for (const FigureFloat& x : kFigureFloats) line(p + x.name + " " + sceneFloatText(f.*x.field));
        for (const FigureInt& n : kFigureInts) line(p + n.name + " " + intText(f.*n.field));
        for (const FigureTriple& t : kFigureTriples) line(p + t.name + " " + triple(f.*t.field));
        for (int k = 0; k < BODY_PART_COUNT; k++)
            line(p + "rotation " + kBodyPartLabels[k] + " " + triple(f.rotation[k]));
        const std::string owner = "person." + intText(i) + ".";
        animator(owner + "pos", f.kfaPos);
        for (int k = 0; k < BODY_PART_COUNT; k++) animator(owner + kBodyPartLabels[k], f.kfa[k]);
    }
};

}  // namespace

std::string writeSceneText(const Scene& scene) {
    SceneWriter w;
    w.line(std::string(kVersionWord) + " " + intText(kSceneFormatVersion));
    for (const IntField& n : kSceneInts) w.line(std::string(n.name) + " " + intText(scene.*n.field));
    for (const FloatField& x : kSceneFloats) w.line(std::string(x.name) + " " + sceneFloatText(scene.*x.field));
    for (const BoolField& b : kSceneBools) w.line(std::string(b.name) + " " + intText(scene.*b.field));
    for (const TripleField& t : kSceneTriples) w.line(std::string(t.name) + " " + w.triple(scene.*t.field));
    std::string lights = "lightEnabled";
    for (bool on : scene.lightEnabled) lights += on ? " 1" : " 0";
    w.line(lights);
    w.line("music " + scene.musicFile);
    w.animator("camera.eye", scene.eyeAnim);
    w.animator("camera.target", scene.targetAnim);
    w.animator("light", scene.sceneLight);
    for (int i = 0; i < scene.numPersons; i++) w.figure(i, scene.persons[i]);
    w.line(kEndLine);
    return w.out;
}

// ============================================================== 5. Reader

namespace {

enum class LineResult { Taken, Unknown, Bad };

class SceneReader {
public:
    SceneReader(Scene& scene, std::vector<std::string>& warnings) : scene(scene), warnings(warnings) {}

    bool read(const std::string& text, std::string& error);

private:
    Scene& scene;
    std::vector<std::string>& warnings;
    std::vector<std::string> tok;   // the current line's words
    std::string why;                // what was wrong with a Bad line
    std::unordered_set<const KeyFrameAnimation*> replaced;

    LineResult bad(const std::string& reason) { why = reason; return LineResult::Bad; }

    bool wantCount(std::size_t n) {
        if (tok.size() == n) return true;
        why = "expected " + std::to_string(n - 1) + " words after '" + tok[0] + "'";
        return false;
    }
    LineResult number(const std::string& s, float& v, float min, float max) {
        if (!parseFloat(s, v) || v < min || v > max) return bad("'" + s + "' is not a number in range");
        return LineResult::Taken;
    }
    LineResult integer(const std::string& s, int& v, int min, int max) {
        if (!parseInt(s, v) || v < min || v > max) return bad("'" + s + "' is not a whole number in range");
        return LineResult::Taken;
    }
    LineResult flag(const std::string& s, bool& v) {
        if (s != "0" && s != "1") return bad("'" + s + "' is not 0 or 1");
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
    for (const IntField& n : kSceneInts)
        if (name == n.name) return wantCount(2) ? integer(tok[1], scene.*n.field, n.min, n.max) : LineResult::Bad;
    for (const FloatField& x : kSceneFloats)
        if (name == x.name) return wantCount(2) ? number(tok[1], scene.*x.field, x.min, x.max) : LineResult::Bad;
    for (const BoolField& b : kSceneBools)
        if (name == b.name) return wantCount(2) ? flag(tok[1], scene.*b.field) : LineResult::Bad;
    for (const TripleField& t : kSceneTriples)
        if (name == t.name) return wantCount(4) ? triple(1, scene.*t.field) : LineResult::Bad;
    return LineResult::Unknown;
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
    if (name == "rotation") {
        if (!wantCount(7)) return LineResult::Bad;
        const int k = partIndex(tok[3]);
        if (k < 0) return LineResult::Unknown;
        return triple(4, f.rotation[k]);
    }
    for (const FigureBool& b : kFigureBools)
        if (name == b.name) return wantCount(4) ? flag(tok[3], f.*b.field) : LineResult::Bad;
    for (const FigureFloat& x : kFigureFloats)
        if (name == x.name) return wantCount(4) ? number(tok[3], f.*x.field, x.min, x.max) : LineResult::Bad;
    for (const FigureInt& n : kFigureInts)
        if (name == n.name) return wantCount(4) ? integer(tok[3], f.*n.field, n.min, n.max) : LineResult::Bad;
    for (const FigureTriple& t : kFigureTriples)
        if (name == t.name) return wantCount(6) ? triple(3, f.*t.field) : LineResult::Bad;
    return LineResult::Unknown;
}

// "camera.eye", "camera.target", "light", "person.N.pos", "person.N.LABEL".
KeyFrameAnimation* SceneReader::owner(const std::string& name) {
    if (name == "camera.eye") return &scene.eyeAnim;
    if (name == "camera.target") return &scene.targetAnim;
    if (name == "light") return &scene.sceneLight;
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
    // The first line naming an animator replaces it whole.
    if (replaced.insert(a).second) *a = KeyFrameAnimation();
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
        // An optional ninth word names the keyframe's kind.
        if (tok.size() != 9 && !wantCount(8)) return LineResult::Bad;
        int kind = KIND_SPLINE;
        if (tok.size() == 9 && (kind = keyFrameKindFromName(tok[8].c_str())) < 0)
            return bad("'" + tok[8] + "' is not a keyframe kind");
        if (a->numKeyFrames >= KEYFRAME_CAPACITY) return bad("more keyframes than an animator holds");
        KeyFrame& k = a->keyFrames[a->numKeyFrames];
        float v[3];
        int mode = 0, steps = 0;
        if (triple(3, v) == LineResult::Bad || integer(tok[6], mode, INT_MIN, INT_MAX) == LineResult::Bad ||
            integer(tok[7], steps, 2, kMaxSteps) == LineResult::Bad)
            return LineResult::Bad;
        k.x = v[0]; k.y = v[1]; k.z = v[2];
        k.mode = mode;
        k.steps = static_cast<float>(steps);
        k.kind = kind;
        a->numKeyFrames++;
        a->computeTimes();
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
            int version = 0;
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
        if (r == LineResult::Unknown) warnings.push_back(where + "not understood, skipped: " + line);
    }
    error = versionSeen ? "the file ends before its \"end\" line" : "the file is empty";
    return false;
}

bool SceneReader::finalChecks(std::string& error) {
    // The play state must lie on the animator's own time line.
    for (const KeyFrameAnimation* a : replaced) {
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
