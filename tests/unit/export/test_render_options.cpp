// The render command line: what it accepts, what it refuses and why, and
// the frame count it settles on.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "export/render_options.h"

namespace {

struct Parsed {
    bool ok;
    RenderOptions o;
    std::string error;
};

Parsed parse(std::initializer_list<const char*> args) {
    std::vector<char*> argv{const_cast<char*>("puppetorium")};
    for (const char* a : args) argv.push_back(const_cast<char*>(a));
    Parsed p;
    p.ok = parseRenderOptions(static_cast<int>(argv.size()), argv.data(), p.o, p.error);
    return p;
}

}  // namespace

TEST(RenderOptions, DefaultsAreOneCycleAt1280x720And25Fps) {
    const Parsed p = parse({"--render", "dance.txt", "--out", "dance.mp4"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.o.input, "dance.txt");
    EXPECT_EQ(p.o.kind, OutputKind::Mp4);
    EXPECT_EQ(p.o.frames, 0) << "0 asks for one cycle of the longest animation";
    EXPECT_EQ(p.o.width, 1280);
    EXPECT_EQ(p.o.height, 720);
    EXPECT_EQ(p.o.fps, 25);
    EXPECT_EQ(p.o.figure, -1);
}

TEST(RenderOptions, EveryOptionIsReadAndSecondsBecomeFramesAtTheFrameRate) {
    const Parsed p = parse({"--render", "-", "--out", "x.GIF", "--seconds", "2.5", "--size",
                            "640x360", "--fps", "30", "--figure", "1", "--keys", "6", "--music", "a.ogg"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.o.kind, OutputKind::Gif) << "extensions are case-blind";
    EXPECT_EQ(p.o.frames, 75);
    EXPECT_EQ(p.o.width, 640);
    EXPECT_EQ(p.o.height, 360);
    EXPECT_EQ(p.o.figure, 1);
    EXPECT_EQ(p.o.keys, "6");
    EXPECT_EQ(p.o.music, "a.ogg");
    EXPECT_FALSE(p.o.noMusic);
    const Parsed silent = parse({"--render", "-", "--no-music", "--out", "x.mp4"});
    ASSERT_TRUE(silent.ok) << "--no-music takes no value: " << silent.error;
    EXPECT_TRUE(silent.o.noMusic);
    EXPECT_EQ(silent.o.output, "x.mp4");
}

TEST(RenderOptions, OutputKindComesFromTheLastExtensionOfTheFileName) {
    EXPECT_EQ(outputKindOf("a.webm"), OutputKind::Webm);
    EXPECT_EQ(outputKindOf("dir.mp4/a.bvh"), OutputKind::Bvh);
    EXPECT_EQ(outputKindOf("a.png"), OutputKind::Png);
    EXPECT_EQ(outputKindOf("walk.TXT"), OutputKind::Animation);
    EXPECT_EQ(outputKindOf("walk.scene"), OutputKind::Scene);
    EXPECT_EQ(outputKindOf("dir.mp4/noext"), OutputKind::None);
    EXPECT_EQ(outputKindOf("a.mp4.avi"), OutputKind::None);
}

TEST(RenderOptions, RefusalsSayWhatIsWrong) {
    struct Case { std::initializer_list<const char*> args; const char* says; };
    const Case cases[] = {
        {{"--render", "a.txt", "--out", "a.avi"}, "unknown output type"},
        {{"--render", "a.txt"}, "--out needs"},
        {{"--out", "a.mp4"}, "needs an input"},
        {{"--render", "a.txt", "--out", "a.mp4", "--frames", "0"}, "--frames"},
        {{"--render", "a.txt", "--out", "a.mp4", "--frames", "12x"}, "--frames"},
        {{"--render", "a.txt", "--out", "a.mp4", "--frames", "5", "--seconds", "1"}, "not both"},
        {{"--render", "a.txt", "--out", "a.mp4", "--size", "641x360"}, "even"},
        {{"--render", "a.txt", "--out", "a.mp4", "--size", "99999x2"}, "--size"},
        {{"--render", "a.txt", "--out", "a.mp4", "--fps", "0"}, "--fps"},
        {{"--render", "a.txt", "--out", "a.mp4", "--figure", "45"}, "--figure"},
        {{"--render", "a.txt", "--out", "a.mp4", "--colour", "red"}, "unknown option"},
        {{"--render", "a.txt", "--out"}, "needs a value"},
        {{"--render", "a.txt", "--out", "a.mp4", "stray"}, "unexpected argument"},
        // Ctrl+S and Ctrl+O would open a chooser nobody can answer.
        {{"--render", "-", "--out", "a.mp4", "--keys", "6\x13"}, "Ctrl+S or Ctrl+O"},
        {{"--render", "-", "--out", "a.mp4", "--keys", "\x0f"}, "Ctrl+S or Ctrl+O"},
        // Frames closer than a hundredth of a second failed at the very end.
        {{"--render", "-", "--out", "a.gif", "--fps", "101"}, "--fps at most 100"},
        {{"--render", "a.txt", "--out", "a.mp4", "--music", "a.ogg", "--no-music"}, "not both"},
        {{"--render", "a.txt", "--out", "a.mp4", "--music"}, "needs a value"},
    };
    for (const Case& c : cases) {
        const Parsed p = parse(c.args);
        EXPECT_FALSE(p.ok) << c.says;
        EXPECT_NE(p.error.find(c.says), std::string::npos) << p.error;
    }
}
