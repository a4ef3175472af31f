// animation_file.h - the text animation format: reader, writer, code export.
//
// An animation file holds one person's keyframes: a magic line, three header
// lines, then one block per keyframe ("<bodykeyframe>", "steps=", "pos=(...)"
// and one line per body part, LABEL=(x,y,z)), closed by "EOF".
//
// The Person members (loadAnimation, saveAnimation, exportAnimationCode) open
// the files; the stream functions below hold the logic, so tests and the
// fuzzer can run it on text in memory. Console lines go to stdout; a load
// flushes its lines once, at its end.
#pragma once

#include <iosfwd>
#include <string>

class Person;

// First line of every animation file, compared exactly.
extern const char* const kAnimationMagicLine;
// Where every save writes the code rendering of the animation.
extern const char* const kCodeOutputFileName;

// Reads animation text from `in` and pushes its keyframes onto the person's
// animators (on top of whatever they hold; loadAnimation clears first).
// Returns false, with "ERROR: text file wrong format", when the first line is
// not the magic line; true once "EOF" or the end of the text is reached.
// Never fails on a malformed line: such a line is skipped.
bool readAnimationText(Person& person, std::istream& in);

// Keyframes the last load left out because an animator was full (the most
// any one animator lost); 0 when everything fitted.
int lastLoadDroppedKeyFrames();
// Why the last saveAnimation failed ("Permission denied"); empty after success.
const std::string& lastAnimationSaveError();

// Writes the person's keyframes as animation text. The keyframe count is the
// TORSO animator's; every other animator contributes its slot i regardless
// of its own count.
void writeAnimationText(const Person& person, std::ostream& out);

// Writes the keyframes as source statements (prefix such as "p.").
void writeAnimationCode(const Person& person, const std::string& prefix, std::ostream& out);

// Reads one line into `line` without its end (LF or CRLF). A line longer
// than kMaxAnimationLine characters is read whole but comes back empty.
// Returns false only when the stream had no more characters at all.
constexpr std::size_t kMaxAnimationLine = 4096;
bool readAnimationLine(std::istream& in, std::string& line);
