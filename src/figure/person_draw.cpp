// person_draw.cpp - a Person as GL geometry: each part's shapes from its
// recipe (part_shapes.h), the selection highlight, the walk down the part
// tree and the fading keyframe trail.
//
// Sections (search "[SECTION]"):
//   Settings and animator places
//   Drawing a part from its recipe
//   The walk and the trail
//
// Every drawer leaves the modelview matrix as it found it. The drawing is
// given what it needs of the scene (textures, wireframe, the quadric) in a
// FigureDrawSettings; it reads no global settings.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstring>
#include <cstdlib>

#include "figure/figure_view.h"
#include "figure/part_shapes.h"
#include "figure/person.h"
#include "figure/shape_cache.h"
#include "figure/skeleton.h"
#include "gfx/texture_loader.h"
#include "gfx/texture_slots.h"

// [SECTION] Settings and animator places

namespace {

// What posing at a keyframe moves in an animator, kept to be put back.
struct AnimatorPlace {
    int currentIndex = 0;
    float currentTime = 0, segmentTime = 0;
    float value[3] = {0, 0, 0};
    void keep(const KeyFrameAnimation& a) {
        currentIndex = a.currentIndex;
        currentTime = a.currentTime;
        segmentTime = a.segmentTime;
        for (int k = 0; k < 3; k++) value[k] = a.value[k];
    }
    void putBack(KeyFrameAnimation& a) const {
        a.currentIndex = currentIndex;
        a.currentTime = currentTime;
        a.segmentTime = segmentTime;
        for (int k = 0; k < 3; k++) a.value[k] = value[k];
    }
};

// The quadric when the scene gives none (tests drawing a figure alone).
GLUquadric* quadricFor(const FigureDrawSettings& s) {
    if (s.quadric) return s.quadric;
    static GLUquadric* own = nullptr;
    if (!own) {
        own = gluNewQuadric();
        gluQuadricDrawStyle(own, GLU_FILL);
        gluQuadricNormals(own, GLU_SMOOTH);
        gluQuadricTexture(own, GL_TRUE);
    }
    return own;
}

// How far a facet may stray from the round outline, in pixels: the figure
// itself, and its see-through trail copies, where a coarser outline fades
// into the floor at a fifth of the opacity or less.
constexpr float kFigureErrorPx = 0.5f;
constexpr float kTrailErrorPx = 1.0f;

// [SECTION] Drawing a part from its recipe

void applyLook(const partshapes::Look& look, float alpha, const FigureDrawSettings& s) {
    using partshapes::Look;
    if (look.colour == Look::OPAQUE) glColor4f(look.rgb[0], look.rgb[1], look.rgb[2], 1);
    if (look.colour == Look::WHITE_AT_FIGURE_ALPHA) glColor4f(1, 1, 1, alpha);
    if (look.texture >= 0 && (s.texturesOn || !look.onlyTextured)) bindTextureSlot(look.texture);
}

void drawShape(const partshapes::Shape& shape, const Person& p, GLUquadric* q) {
    using partshapes::Kind;
    glPushMatrix();
    glMultMatrixf(shape.frame.m);
    switch (shape.kind) {
        case Kind::SPHERES:
            if (shape.sphereCount == 2) {
                shapes::spherePair(q, shape);
            } else {
                const partshapes::Sphere& o = shape.sphere[0];
                shapes::sphere(q, o.radius, o.slices, o.stacks, o.across, o.along);
            }
            break;
        case Kind::TUBE:
            shapes::cylinder(q, shape.base, shape.top, shape.height, shape.slices, shape.stacks);
            break;
        case Kind::BOX: {
            TexturedBox box = shape.figureBox ? p.torsoBox : TexturedBox();
            box.setScale(shape.half[0], shape.half[1], shape.half[2]);
            shapes::box(box);
            break;
        }
    }
    glPopMatrix();
}

}  // namespace

void Person::drawBodyPart(int idx, const FigureDrawSettings& s) {
    if (idx < 0 || idx >= BODY_PART_COUNT) return;
    const BodyPart& p = part[idx];
    const bool selected = s.selectionHighlight && idx == selectedPart;

    // Untextured, the highlight is a see-through yellow; textured, it is the
    // yellow texture at the figure's own opacity.
    if (selected)
        glColor4f(1, 1, 0, 0.5f);
    else
        glColor4f(colour[0], colour[1], colour[2], alpha);
    if (s.texturesOn) {
        glEnable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, alpha);
        bindTextureSlot(selected ? TEX_COLOR_YELLOW : p.texture);
    }

    static partshapes::Recipe recipe;  // GL thread only; built afresh for each part
    partshapes::recipeFor(*this, idx, recipe);
    GLUquadric* q = quadricFor(s);
    for (int k = 0; k < recipe.count; k++) {
        applyLook(recipe.shape[k].look, alpha, s);
        drawShape(recipe.shape[k], *this, q);
    }
}

// [SECTION] The walk and the trail

namespace {

// The view the figure is drawn into, read once per figure.
FigureView currentView() {
    FigureView v;
    glGetFloatv(GL_MODELVIEW_MATRIX, v.modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, v.projection);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    v.viewportWidth = static_cast<float>(viewport[2]);
    v.viewportHeight = static_cast<float>(viewport[3]);
    return v;
}

// Copies of one figure drawn so far in this pass, with the detail each was
// drawn at and its part matrices. A part whose whole chain of matrices from
// ROOT, and whose detail, match a copy drawn before lands on exactly the same
// depths, so the depth test would reject every one of its fragments: it is
// left out. (Trail copies of a dance repeat many poses part by part.)
struct DrawnCopies {
    static constexpr int kMax = 16;  // beyond this, copies are drawn whole
    int count = 0;
    float pixelsPerUnit[kMax];
    float maxErrorPx[kMax];
    float transform[kMax][BODY_PART_COUNT][16];
    int twin[kMax][BODY_PART_COUNT];  // earliest copy with the same chain to the part
};
DrawnCopies drawn;

// Draws every part of the present pose at its model matrix.
void drawAllParts(Person& p, const Mat4 model[BODY_PART_COUNT], const FigureDrawSettings& s) {
    for (int n = 0; n < BODY_PART_COUNT; n++) {
        const int i = skeleton::kOrder[n];
        glPushMatrix();
        glMultMatrixf(model[i].m);
        p.drawBodyPart(i, s);
        glPopMatrix();
    }
}

// Draws copy k's parts that no earlier copy drew the same. Parents come
// before children, so each part's parent already has its twin.
void drawCopyParts(Person& p, int k, const Mat4 model[BODY_PART_COUNT], const FigureDrawSettings& s) {
    for (int n = 0; n < BODY_PART_COUNT; n++) {
        const int i = skeleton::kOrder[n];
        const int parent = skeleton::kParent[i];
        const int parentTwin = parent >= 0 ? drawn.twin[k][parent] : -1;
        int twin = k;
        for (int m = 0; m < k && twin == k; m++) {
            if (drawn.pixelsPerUnit[m] != drawn.pixelsPerUnit[k] || drawn.maxErrorPx[m] != drawn.maxErrorPx[k])
                continue;
            if (parent >= 0 && drawn.twin[m][parent] != parentTwin) continue;
            if (std::memcmp(drawn.transform[m][i], p.part[i].transform, sizeof p.part[i].transform) == 0)
                twin = drawn.twin[m][i];
        }
        drawn.twin[k][i] = twin;
        if (twin != k) continue;
        glPushMatrix();
        glMultMatrixf(model[i].m);
        p.drawBodyPart(i, s);
        glPopMatrix();
    }
}

// Detail steps of an eighth of an octave, rounded up (finer): copies of
// nearly the same size share one, so their repeated parts can be matched.
float detailStep(float pixelsPerUnit) {
    return std::exp2(std::ceil(std::log2(pixelsPerUnit) * 8) / 8);
}

}  // namespace

// One copy of the figure in its present pose. The fast path leaves out a copy
// wholly out of sight, tessellates for its size on screen, and leaves out
// the parts an earlier copy already drew in the same place.
void Person::drawCopy(const FigureView* view, float maxErrorPx, const FigureDrawSettings& s, const float* reach) {
    Mat4 model[BODY_PART_COUNT];
    skeleton::modelMatrices(*this, model);
    if (!view || !reach) {
        drawAllParts(*this, model, s);
        return;
    }
    const BoundingSphere bounds = figureBounds(model, reach);
    if (!view->sees(bounds)) return;
    const float ppu = detailStep(view->pixelsPerUnit(bounds));
    shapes::setDetail(ppu, maxErrorPx);
    if (drawn.count >= DrawnCopies::kMax) {
        drawAllParts(*this, model, s);
        return;
    }
    const int k = drawn.count++;
    drawn.pixelsPerUnit[k] = ppu;
    drawn.maxErrorPx[k] = maxErrorPx;
    for (int i = 0; i < BODY_PART_COUNT; i++)
        std::memcpy(drawn.transform[k][i], part[i].transform, sizeof part[i].transform);
    drawCopyParts(*this, k, model, s);
}

void Person::draw(const FigureDrawSettings& s) {
    FigureView view;
    const FigureView* fast = nullptr;
    float reach[BODY_PART_COUNT] = {};
    if (!referenceDrawing()) {
        view = currentView();
        fast = &view;
        partReaches(*this, reach);  // the same for every copy: sizes and items do not change
    }
    // Wireframe shows every edge, the far side's too, and quads as quads.
    shapes::beginFigure(!s.wireframeOn);
    drawn.count = 0;
    drawCopy(fast, kFigureErrorPx, s, reach);
    updateTransform(ROOT);  // keeps the redisplays coming while figures are shown

    // A figure that is not animating has no animator time to return to, so
    // its pose is kept aside and put back by hand after the trail; so is
    // each animator's place on the time line, which the timeline and the
    // keyframe commands read while the figure is paused.
    float savedPosition[3] = {};
    float savedRotation[BODY_PART_COUNT][3] = {};
    AnimatorPlace savedPlaces[BODY_PART_COUNT + 1];
    if (!animating) {
        for (int k = 0; k < 3; k++) savedPosition[k] = position[k];
        for (int i = 0; i < BODY_PART_COUNT; i++)
            for (int k = 0; k < 3; k++) savedRotation[i][k] = part[i].rotation[k];
        savedPlaces[BODY_PART_COUNT].keep(kfaPos);
        for (int i = 0; i < BODY_PART_COUNT; i++) savedPlaces[i].keep(part[i].kfa);
    }
    if (!showTrail) {
        shapes::endFigure();
        return;
    }

    // See-through copies at every keyframe, fading with distance from the
    // current one.
    const int c = kfaPos.currentIndex;
    const int n = kfaPos.numKeyFrames;
    const float t = kfaPos.currentTime;
    const float savedAlpha = alpha;
    alpha = trailAlpha;
    for (int j = 0; j < n; j++) {
        if (trailFade > 0) alpha = trailAlpha - static_cast<float>(std::abs(j - c)) * trailFade;
        if (alpha > 0) {
            poseAtKeyFrame(j);
            drawCopy(fast, kTrailErrorPx, s, reach);
        }
    }
    alpha = savedAlpha;
    shapes::endFigure();

    if (animating) {
        poseAtTime(t);
    } else {
        for (int k = 0; k < 3; k++) position[k] = savedPosition[k];
        savedPlaces[BODY_PART_COUNT].putBack(kfaPos);
        for (int i = 0; i < BODY_PART_COUNT; i++) {
            savedPlaces[i].putBack(part[i].kfa);
            for (int k = 0; k < 3; k++) part[i].rotation[k] = savedRotation[i][k];
            updateTransform(i);
        }
    }
}
