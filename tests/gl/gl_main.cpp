// gl_main.cpp - entry of the GL-tier tests: one hidden GLUT window whose
// context every test draws into, then the gtest run. The pictures the tests
// write go under the build folder (gl-test-files/), not the shared /tmp, and
// what the code prints shows only beside a failure.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "../support/held_output.h"

int main(int argc, char** argv) {
    if (!std::getenv("TEST_TMPDIR")) {
        const std::string dir = std::string(PUPPETORIUM_BINARY_DIR) + "/gl-test-files/";
        mkdir(dir.c_str(), 0755);
        setenv("TEST_TMPDIR", dir.c_str(), 1);
    }
    testing::InitGoogleTest(&argc, argv);
    HeldOutput::install();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(700, 500);
    glutCreateWindow("Puppetorium GL tests");
    glutHideWindow();
    return RUN_ALL_TESTS();
}
