// camera_gl.cpp - the camera's two GL operations: the look-at and the
// camera's own frame for drawing in front of the viewer.
#include <GL/glu.h>

#include "camera/camera.h"

void Camera::apply(float playRate) {
    if (animationOn) advanceAnimators(playRate);
    gluLookAt(eye[0], eye[1], eye[2], target[0], target[1], target[2], 0, 1, 0);
}

// Origin at the eye, -z towards the target.
void Camera::applyViewFrame() {
    glTranslatef(eye[0], eye[1], eye[2]);
    float turnY, pitchX;
    viewFrameAngles(turnY, pitchX);
    glRotatef(turnY, 0, 1, 0);
    glRotatef(pitchX, 1, 0, 0);
}
