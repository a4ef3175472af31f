// bvh_reader.cpp - the HIERARCHY as tokens, the MOTION line by line.
//
// Every count a header claims is checked against what the file can hold
// before anything is allocated, so "Frames: 1000000000" costs nothing.
#include "mocap/bvh_reader.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>


namespace {

constexpr int kMaxJoints = 1024;
constexpr int kMaxDepth = 256;
constexpr double kMaxFrameTime = 60;
constexpr double kMaxSeconds = 3600;  // the reduction samples every 1/25 s of it
constexpr double kMaxValue = 1e9;     // beyond any unit of length or angle

class Tokens {
public:
    explicit Tokens(const std::string& text) : s_(text) {}

    // The next whitespace-separated word; empty at the end of the text.
    std::string next() {
        skipBlanks();
        const std::size_t start = pos_;
        while (pos_ < s_.size() && !std::isspace(static_cast<unsigned char>(s_[pos_]))) pos_++;
        return s_.substr(start, pos_ - start);
    }
    int line() const { return line_; }
    std::size_t pos() const { return pos_; }
    const std::string& text() const { return s_; }
    // Moves to the start of the next line.
    void skipLine() {
        while (pos_ < s_.size() && s_[pos_] != '\n') pos_++;
        if (pos_ < s_.size()) { pos_++; line_++; }
    }

private:
    void skipBlanks() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) {
            if (s_[pos_] == '\n') line_++;
            pos_++;
        }
    }
    const std::string& s_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

bool fail(std::string& error, int line, const std::string& what) {
    error = "line " + std::to_string(line) + ": " + what;
    return false;
}

bool readNumber(const std::string& word, double& out) {
    if (word.empty()) return false;
    char* end = nullptr;
    out = std::strtod(word.c_str(), &end);
    return *end == '\0' && std::isfinite(out);
}

bool sameWord(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); i++)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool readChannel(const std::string& word, BvhChannel& c) {
    static const char* const kNames[] = {"Xposition", "Yposition", "Zposition",
                                         "Xrotation", "Yrotation", "Zrotation"};
    for (int i = 0; i < 6; i++)
        if (sameWord(word, kNames[i])) { c = static_cast<BvhChannel>(i); return true; }
    return false;
}

bool readTriple(Tokens& t, double* v, std::string& error) {
    for (int a = 0; a < 3; a++) {
        const std::string w = t.next();
        if (!readNumber(w, v[a]) || std::fabs(v[a]) > kMaxValue)
            return fail(error, t.line(), "OFFSET needs three numbers of sensible size");
    }
    return true;
}

// One joint's body after its name: "{ OFFSET ... CHANNELS ... children }".
bool readJoint(Tokens& t, BvhClip& clip, int parent, int depth, std::string& error);

bool readJointBody(Tokens& t, BvhClip& clip, int self, int depth, std::string& error) {
    if (t.next() != "{") return fail(error, t.line(), "expected '{' after the joint's name");
    if (t.next() != "OFFSET") return fail(error, t.line(), "expected OFFSET");
    if (!readTriple(t, clip.joints[self].offset, error)) return false;
    std::string w = t.next();
    if (w == "CHANNELS") {
        double n = 0;
        if (!readNumber(t.next(), n) || n < 0 || n > 6 || n != std::floor(n))
            return fail(error, t.line(), "CHANNELS takes a count from 0 to 6");
        BvhJoint& j = clip.joints[self];
        j.channelCount = static_cast<int>(n);
        j.firstChannel = clip.channelsPerFrame;
        for (int c = 0; c < j.channelCount; c++)
            if (!readChannel(t.next(), j.channels[c]))
                return fail(error, t.line(), "unknown channel (use Xposition ... Zrotation)");
        clip.channelsPerFrame += j.channelCount;
        w = t.next();
    }
    for (;;) {
        if (w == "}") return true;
        if (w == "JOINT") {
            if (!readJoint(t, clip, self, depth + 1, error)) return false;
        } else if (w == "End") {
            if (t.next() != "Site") return fail(error, t.line(), "expected 'End Site'");
            if (t.next() != "{" || t.next() != "OFFSET")
                return fail(error, t.line(), "an End Site holds '{ OFFSET x y z }'");
            BvhJoint& j = clip.joints[self];
            if (!readTriple(t, j.endOffset, error)) return false;
            j.hasEnd = true;
            if (t.next() != "}") return fail(error, t.line(), "expected '}' closing the End Site");
        } else if (w.empty()) {
            return fail(error, t.line(), "the HIERARCHY ends before its joints are closed");
        } else {
            return fail(error, t.line(), "unexpected '" + w.substr(0, 40) + "' in a joint");
        }
        w = t.next();
    }
}

bool readJoint(Tokens& t, BvhClip& clip, int parent, int depth, std::string& error) {
    if (depth > kMaxDepth) return fail(error, t.line(), "joints nested too deeply");
    if (static_cast<int>(clip.joints.size()) >= kMaxJoints)
        return fail(error, t.line(), "more than 1024 joints");
    const std::string name = t.next();
    if (name.empty() || name == "{") return fail(error, t.line(), "a joint needs a name");
    BvhJoint j;
    j.name = name;
    j.parent = parent;
    clip.joints.push_back(j);
    return readJointBody(t, clip, static_cast<int>(clip.joints.size()) - 1, depth, error);
}

// "Frames: N" and "Frame Time: T"; the label words may be split or joined.
bool readMotionHeader(Tokens& t, BvhClip& clip, std::string& error) {
    std::string w = t.next();
    if (w != "Frames:") return fail(error, t.line(), "expected 'Frames:' after MOTION");
    double n = 0;
    if (!readNumber(t.next(), n) || n < 0 || n != std::floor(n) || n > 1e9)
        return fail(error, t.line(), "Frames: takes a whole number");
    const int headerLine = t.line();
    if (t.next() != "Frame" || t.next() != "Time:") return fail(error, t.line(), "expected 'Frame Time:'");
    double ft = 0;
    if (!readNumber(t.next(), ft) || !(ft > 0) || ft > kMaxFrameTime)
        return fail(error, t.line(), "Frame Time: takes a positive number of seconds");
    clip.frameTime = ft;
    if ((n - 1) * ft > kMaxSeconds) return fail(error, t.line(), "the recording lasts more than an hour");
    // Each value takes at least two bytes ("0 "): a count the rest of the file
    // cannot hold is refused before any memory is asked for.
    const double room = static_cast<double>(t.text().size() - t.pos());
    const double need = n * (clip.channelsPerFrame > 0 ? 2.0 * clip.channelsPerFrame : 1.0);
    if (need > room + 2)
        return fail(error, headerLine, "Frames: " + std::to_string(static_cast<long long>(n)) +
                                           " is more than the file holds");
    clip.frames = static_cast<int>(n);
    t.skipLine();
    return true;
}

bool readFrames(Tokens& t, BvhClip& clip, std::string& error) {
    const std::string& s = t.text();
    std::size_t pos = t.pos();
    int line = t.line();
    clip.values.resize(static_cast<std::size_t>(clip.frames) * clip.channelsPerFrame);
    int f = 0;
    while (pos < s.size()) {
        std::size_t end = s.find('\n', pos);
        if (end == std::string::npos) end = s.size();
        const char* p = s.c_str() + pos;
        const char* stop = s.c_str() + end;
        int count = 0;
        float* out = f < clip.frames ? clip.values.data() + static_cast<std::size_t>(f) * clip.channelsPerFrame : nullptr;
        for (;;) {
            while (p < stop && std::isspace(static_cast<unsigned char>(*p))) p++;
            if (p >= stop) break;
            char* after = nullptr;
            const double v = std::strtod(p, &after);
            if (after == p || after > stop || (after < stop && !std::isspace(static_cast<unsigned char>(*after))))
                return fail(error, line, "not a number");
            if (!std::isfinite(v)) return fail(error, line, "a value is not finite");
            if (std::fabs(v) > kMaxValue) return fail(error, line, "a value is out of range");
            if (!out) return fail(error, line, "more frames than 'Frames:' says (" + std::to_string(clip.frames) + ")");
            if (count < clip.channelsPerFrame) out[count] = static_cast<float>(v);
            count++;
            p = after;
        }
        if (count > 0) {
            if (count != clip.channelsPerFrame)
                return fail(error, line, std::to_string(count) + " values where the joints have " +
                                             std::to_string(clip.channelsPerFrame) + " channels");
            f++;
        }
        pos = end + 1;
        line++;
    }
    if (f < clip.frames)
        return fail(error, line - 1, "the MOTION ends after " + std::to_string(f) + " of " +
                                         std::to_string(clip.frames) + " frames");
    return true;
}

}  // namespace

bool readBvhText(const std::string& text, BvhClip& clip, std::string& error) {
    clip = BvhClip();
    Tokens t(text);
    if (t.next() != "HIERARCHY") return fail(error, t.line(), "not a BVH file (no HIERARCHY)");
    if (t.next() != "ROOT") return fail(error, t.line(), "expected ROOT");
    if (!readJoint(t, clip, -1, 0, error)) return false;
    const std::string w = t.next();
    if (w == "ROOT") return fail(error, t.line(), "only one ROOT is supported");
    if (w != "MOTION") return fail(error, t.line(), "expected MOTION after the HIERARCHY");
    if (clip.channelsPerFrame == 0) return fail(error, t.line(), "the joints have no channels");
    if (!readMotionHeader(t, clip, error)) return false;
    if (clip.frames == 0) return fail(error, t.line(), "the recording has no frames");
    return readFrames(t, clip, error);
}

bool isBvhFileName(const std::string& path) {
    if (path.size() < 4) return false;
    const std::string ext = path.substr(path.size() - 4);
    return sameWord(ext, ".bvh");
}
