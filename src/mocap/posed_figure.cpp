// posed_figure.cpp - a private Person posed and read back through the
// figure's own matrices.
#include "mocap/posed_figure.h"

#include "figure/person.h"
#include "figure/skeleton.h"

FigureShape shapeOf(const Person& p) {
    FigureShape s;
    for (int i = 0; i < 20; i++) {
        for (int k = 0; k < 3; k++) {
            s.jointOffset[i][k] = p.part[i].jointOffset[k];
            s.rotation[i][k] = p.part[i].rotation[k];
        }
        s.length[i] = p.part[i].length;
    }
    for (int k = 0; k < 3; k++) s.position[k] = p.position[k];
    return s;
}

void framesOf(const Person& p, FigureFrames& out) {
    Mat4d model[BODY_PART_COUNT];
    skeleton::modelMatrices(p, model);
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        const double* m = model[i].m;
        for (int c = 0; c < 3; c++) out.turn[i].c[c] = {m[4 * c], m[4 * c + 1], m[4 * c + 2]};
        out.at[i] = {m[12], m[13], m[14]};
    }
}

PosedFigure::PosedFigure(const FigureShape& shape) : shape_(shape), person_(std::make_unique<Person>()) {
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        for (int k = 0; k < 3; k++) person_->part[i].jointOffset[k] = shape.jointOffset[i][k];
        person_->part[i].length = shape.length[i];
    }
    restorePose();
}

PosedFigure::~PosedFigure() = default;

void PosedFigure::restorePose() {
    Person& p = *person_;
    for (int k = 0; k < 3; k++) p.position[k] = shape_.position[k];
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        for (int k = 0; k < 3; k++) p.part[i].rotation[k] = shape_.rotation[i][k];
        p.computePartTransform(i);
    }
}

void PosedFigure::frames(const float* position, const float* angles, FigureFrames& out) {
    Person& p = *person_;
    for (int k = 0; k < 3; k++) p.position[k] = position[k];
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        for (int k = 0; k < 3; k++) p.part[i].rotation[k] = angles[3 * i + k];
        p.computePartTransform(i);
    }
    framesOf(p, out);
}

void PosedFigure::played(float t, FigureFrames& out) {
    Person& p = *person_;
    p.kfaPos.seek(t);
    p.applyPositionAnimator();
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        p.part[i].kfa.seek(t);
        p.part[i].applyAnimator();
        p.computePartTransform(i);
    }
    framesOf(p, out);
}
