// animation_file.cpp - reading and writing animation files.
//
// Sections (search "[SECTION]"):
//   Console and numbers
//   Splitting
//   Line reading
//   Reader
//   Writer
//
// The reader is lenient by design: files are edited by hand, so a line it
// cannot use is skipped, a number it cannot parse is 0, and a missing "EOF"
// simply ends the data. Only a wrong magic line rejects a file. Angles and
// positions beyond +-1e6 are damage, not choreography: they read as 0 too.
//
// Files are read and written only through safe_file: a load never blocks on
// a FIFO or a device, and a save that fails leaves the old file whole.
#include "io/animation_file.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <locale>
#include <ostream>
#include <sstream>
#include <streambuf>

#include "figure/person.h"
#include "base/console.h"
#include "base/safe_file.h"

const char* const kAnimationMagicLine = "!!!Marionetrix_v1.0";

namespace {

// [SECTION] Console and numbers

// A load's console lines, written in large pieces and flushed once at the
// end: a flush per entry made a big file take many seconds. Report lines are
// dropped while the console is quiet; an error shows all the same.
class LoadLog {
public:
    LoadLog() = default;
    LoadLog(const LoadLog&) = delete;
    LoadLog& operator=(const LoadLog&) = delete;
    ~LoadLog() {
        writeOut();
        std::fflush(stdout);
    }
    void line(const std::string& text) {
        if (consoleQuiet()) return;
        pending += text;
        pending += '\n';
        if (pending.size() >= kPieceBytes) writeOut();
    }

private:
    friend void logError(LoadLog& log, const std::string& text);
    static constexpr std::size_t kPieceBytes = 1 << 16;
    void writeOut() {
        std::fwrite(pending.data(), 1, pending.size(), stdout);
        pending.clear();
    }
    std::string pending;
};

// Keeps the error in its place among the report lines before it.
void logError(LoadLog& log, const std::string& text) {
    log.writeOut();
    consoleError(text);
}

// Largest angle or position a file may hold.
constexpr double kMaxFileValue = 1e6;

// Like atof, but anything that is not a number within +-1e6 (no digits,
// NaN, infinities, huge values) reads as 0.
float parseFloat(const std::string& text) {
    const double v = std::strtod(text.c_str(), nullptr);
    if (!(std::fabs(v) <= kMaxFileValue)) return 0;
    return static_cast<float>(v);
}

// Like atoi, saturating instead of overflowing.
int parseInt(const std::string& text) {
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

// [SECTION] Splitting

struct Entry {
    std::string label;
    float x = 0, y = 0, z = 0;
};

// Splits LABEL=(x,y,z) into its parts. A separator that is missing makes its
// field run to the end, and the next field starts over on the same text.
// Returns false when the line leaves no text after "=(" to split (an empty
// line, or one ending in its first "="): such a line is not an entry.
bool splitEntry(const std::string& line, Entry& e) {
    const std::size_t eq = line.find('=');
    std::size_t restStart;
    if (eq == std::string::npos) {
        e.label = line;
        restStart = 1;
    } else {
        e.label = line.substr(0, eq);
        restStart = eq + 2;  // past "=("
    }
    if (restStart > line.size()) return false;

    std::string rest = line.substr(restStart);
    std::size_t sep = rest.find(',');
    e.x = parseFloat(rest.substr(0, sep));
    if (sep != std::string::npos) rest.erase(0, sep + 1);
    sep = rest.find(',');
    e.y = parseFloat(rest.substr(0, sep));
    if (sep != std::string::npos) rest.erase(0, sep + 1);
    e.z = parseFloat(rest.substr(0, rest.find(')')));
    return true;
}

// Pushes one entry of a block onto the animator its label names.
void applyEntry(Person& person, const Entry& e, int steps, LoadLog& log) {
    if (e.label == "pos") {
        person.kfaPos.pushKeyFrame(e.x, e.y, e.z, ABS, steps);
        log.line("  Robot position set");
        return;
    }
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        if (person.part[i].label == e.label) {
            person.part[i].kfa.pushKeyFrame(e.x, e.y, e.z, ABS, steps);
            log.line("  partLabel=" + e.label + " set");
            return;
        }
    }
}

// The whole file as an input stream, without a copy.
class TextBuffer : public std::streambuf {
public:
    explicit TextBuffer(std::string& text) {
        char* begin = text.empty() ? nullptr : &text[0];
        setg(begin, begin, begin + text.size());
    }
};

}  // namespace

// [SECTION] Line reading

bool readAnimationLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buf = in.rdbuf();
    if (!in.good() || buf == nullptr) return false;
    bool any = false;
    bool tooLong = false;
    for (;;) {
        const int c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            break;
        }
        any = true;
        if (c == '\n') break;
        // One character of slack for a CR that is stripped below.
        if (line.size() <= kMaxAnimationLine) line.push_back(static_cast<char>(c));
        else tooLong = true;
    }
    if (!any) {
        in.setstate(std::ios::failbit);
        return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (tooLong || line.size() > kMaxAnimationLine) line.clear();
    return true;
}

// [SECTION] Reader

bool readAnimationText(Person& person, std::istream& in) {
    LoadLog log;
    std::string line;
    if (!readAnimationLine(in, line) || line != kAnimationMagicLine) {
        logError(log, "ERROR: text file wrong format");
        return false;
    }
    // Type, name, count and the first block marker: the blocks say it all.
    for (int i = 0; i < 4; i++) readAnimationLine(in, line);

    while (readAnimationLine(in, line)) {
        const std::size_t eq = line.find('=');
        const int steps = parseInt(eq == std::string::npos ? line : line.substr(eq + 1));
        while (readAnimationLine(in, line)) {
            if (line == "EOF") {
                log.line("EOF found");
                return true;
            }
            if (line == "<bodykeyframe>") break;
            Entry e;
            if (splitEntry(line, e)) applyEntry(person, e, steps, log);
        }
    }
    log.line("EOF found");
    return true;
}

// Clears and cycles first, so even a failed load leaves a clean person. A
// file that is there but refused (a FIFO, a device, a folder, too large)
// says why instead of claiming it was not found.
bool Person::loadAnimation(const char* path, bool nameMissingFile) {
    clearAllKeyFrames();
    setCycle(true);
    std::string text, error;
    bool refused = false;
    if (!readFileSafely(path, kMaxAnimationFileBytes, text, error, &refused)) {
        std::string line = "ERROR: text file not found";
        if (refused) line = std::string("ERROR: '") + path + "' " + error;
        else if (nameMissingFile) line += std::string(": '") + path + "'";
        consoleError(line);
        return false;
    }
    TextBuffer buffer(text);
    std::istream in(&buffer);
    return readAnimationText(*this, in);
}

// [SECTION] Writer

namespace {

// Live count of the TORSO animator, which decides how many blocks are written.
int savedKeyFrameCount(const Person& person) {
    const int n = person.part[TORSO].kfa.numKeyFrames;
    return n < 0 ? 0 : (n > KEYFRAME_CAPACITY ? KEYFRAME_CAPACITY : n);
}

}  // namespace

void writeAnimationText(const Person& person, std::ostream& out) {
    const int n = savedKeyFrameCount(person);
    out << kAnimationMagicLine << '\n'
        << "!!type=animation\n"
        << "!name=Moonwalk\n"
        << "!numKeyFrames=" << n << '\n';
    for (int i = 0; i < n; i++) {
        const KeyFrame& pos = person.kfaPos.keyFrames[i];
        out << "<bodykeyframe>\n"
            << "steps=" << person.part[TORSO].kfa.keyFrames[i].steps << '\n'
            << "pos=(" << pos.x << ',' << pos.y << ',' << pos.z << ")REL\n";
        for (int p = 0; p < BODY_PART_COUNT; p++) {
            const KeyFrame& k = person.part[p].kfa.keyFrames[i];
            out << person.part[p].label << "=(" << k.x << ',' << k.y << ',' << k.z << ")\n";
        }
    }
    out << "EOF\n";
}

// Writes the code export, then the file. The text is built in memory and
// replaces the file only once it is all on disk, so a full disk leaves the
// old file as it was; the result says whether the new one got there.
bool Person::saveAnimation(const char* path) {
    exportAnimationCode("p.");
    std::ostringstream out;
    out.imbue(std::locale::classic());
    writeAnimationText(*this, out);
    std::string error;
    if (writeFileAtomically(path, out.str(), error)) {
        consoleReport("Animation has been saved");
        return true;
    }
    consoleError(std::string("ERROR: could not write '") + path + "'");
    return false;
}
