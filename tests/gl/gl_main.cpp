// gl_main.cpp - entry of the GL-tier tests: one hidden GLUT window whose
// context every test draws into, then the gtest run.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(700, 500);
    glutCreateWindow("Puppetorium GL tests");
    glutHideWindow();
    return RUN_ALL_TESTS();
}
