// io_test_support.h - a private temporary folder that is also the working
// folder (the code export writes there), and small file helpers.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "core/app_state.h"
#include "io/file_chooser.h"
#include "../../support/scripted_chooser.h"

class InTempDir : public testing::Test {
protected:
    std::string dir;
    std::string oldCwd;

    void SetUp() override {
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldCwd = cwd;
        std::string tmpl = testing::TempDir() + "puppetorium_io_XXXXXX";
        ASSERT_NE(mkdtemp(&tmpl[0]), nullptr);
        dir = tmpl;
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override {
        ASSERT_EQ(chdir(oldCwd.c_str()), 0);
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    std::string path(const std::string& name) const { return dir + "/" + name; }
};

inline std::string readFile(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::string& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

// Number of times `needle` occurs in `text`.
inline int countOf(const std::string& text, const std::string& needle) {
    int n = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) n++;
    return n;
}

// A fresh application state in a private folder, its dialogs answered by a
// scripted chooser.
class ChooserInTempDir : public InTempDir {
protected:
    ScriptedChooser chooser;
    void SetUp() override {
        InTempDir::SetUp();
        resetAppState();
        setFileChooser(&chooser);
    }
    void TearDown() override {
        setFileChooser(nullptr);
        InTempDir::TearDown();
    }
};
