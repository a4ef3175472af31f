// held_output.h - what the code under test prints is held back while each
// test runs and shown only when the test fails, next to its failure; a
// passing run shows the test results alone, not thousands of load lines.
//
// Standard output is pointed at an unnamed temporary file from the start of
// a test to its end. A test's own CaptureStdout() nests inside (it puts back
// whatever it found), so tests that read the console still can.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

class HeldOutput : public testing::EmptyTestEventListener {
public:
    // Call before RUN_ALL_TESTS (a static initialiser will do).
    static void install() { testing::UnitTest::GetInstance()->listeners().Append(new HeldOutput); }

private:
    std::FILE* held_ = nullptr;
    int terminal_ = -1;

    void OnTestStart(const testing::TestInfo&) override {
        std::fflush(stdout);
        held_ = std::tmpfile();
        terminal_ = held_ ? dup(STDOUT_FILENO) : -1;
        if (terminal_ >= 0) dup2(fileno(held_), STDOUT_FILENO);
    }

    void OnTestEnd(const testing::TestInfo& info) override {
        if (terminal_ < 0) return;
        std::fflush(stdout);
        dup2(terminal_, STDOUT_FILENO);
        close(terminal_);
        terminal_ = -1;
        if (info.result()->Failed()) {
            std::rewind(held_);
            char buffer[4096];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, held_)) > 0) std::fwrite(buffer, 1, n, stdout);
            std::fflush(stdout);
        }
        std::fclose(held_);
        held_ = nullptr;
    }
};
