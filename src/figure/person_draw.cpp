// person_draw.cpp - a Person as GL geometry: the walk down the part tree, the
// recipe of every part, the selection highlight, the held items and the
// fading keyframe trail.
//
// Index:
//   1. Quadrics and colours
//   2. Held items
//   3. Body-part recipes
//   4. The walk and the trail
//
// Parts extend along their local +y axis; GLU quadrics grow along +z, so a
// recipe first turns -90 degrees about x. Every drawer leaves the modelview
// matrix as it found it. Sizes follow the part's (already scaled) length L
// and radius R; held items have fixed sizes.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstring>
#include <cstdlib>

#include "core/app_state.h"
#include "figure/person.h"
#include "figure/figure_view.h"
#include "figure/shape_cache.h"
#include "gfx/texture_loader.h"

// ============================================================== 1. Quadrics and colours

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

// Tessellation: coarse on purpose, the figures are small on screen.
constexpr int kSlices = 10;
constexpr int kStacks = 6;

GLUquadric* newFilledQuadric() {
    GLUquadric* q = gluNewQuadric();
    gluQuadricDrawStyle(q, GLU_FILL);
    gluQuadricNormals(q, GLU_SMOOTH);
    gluQuadricTexture(q, GL_TRUE);
    return q;
}

// The scene's shared quadric; start-up configures it, but items may be drawn
// before that (tests, or a scene without start-up).
GLUquadric* itemQuadric() {
    if (!app.quadric) app.quadric = newFilledQuadric();
    return app.quadric;
}

void sphere(GLUquadric* q, double r, int slices = kSlices, int stacks = kStacks, double across = 1,
            double along = 1) {
    shapes::sphere(q, r, slices, stacks, across, along);
}
void cylinder(GLUquadric* q, double base, double top, double h, int slices = kSlices,
              int stacks = kStacks) {
    shapes::cylinder(q, base, top, h, slices, stacks);
}

// How far a facet may stray from the round outline, in pixels: the figure
// itself, and its see-through trail copies, where a coarser outline fades
// into the floor at a fifth of the opacity or less.
constexpr float kFigureErrorPx = 0.5f;
constexpr float kTrailErrorPx = 1.0f;

}  // namespace

// ============================================================== 2. Held items
// Each sets its own opaque colours, so items stay solid in trail copies.

void drawBallItem() {
    bindTextureSlot(TEX_FABRIC_RED);
    glColor4f(1, 0, 0, 1);
    sphere(itemQuadric(), 0.5);
}

void drawFlowerItem() {
    const float s = 0.05f, h = 2;
    GLUquadric* q = itemQuadric();
    glPushMatrix();
    // The stem keeps whatever texture is bound (normally the hand's).
    glTranslatef(0, -0.5f * h, 0);
    glColor4f(0, 1, 0, 1);
    glRotatef(-90, 1, 0, 0);
    cylinder(q, s, s, h);
    glRotatef(90, 1, 0, 0);
    glTranslatef(0, h, 0);
    // Petals: two four-sided cones.
    bindTextureSlot(TEX_FABRIC_RED);
    glColor4f(1, 0, 0, 1);
    glRotatef(-90, 1, 0, 0);
    cylinder(q, s, 0.3, 0.4 * h, 4, 1);
    cylinder(q, s, 0.5, 0.3 * h, 4, 1);
    glRotatef(90, 1, 0, 0);
    glPopMatrix();
}

void drawDiscItem() {
    const float d = 1.5f;
    GLUquadric* q = itemQuadric();
    glPushMatrix();
    glTranslatef(0, d, 0);
    glRotatef(90, 0, 0, 1);
    bindTextureSlot(TEX_COLOR_BLACK);
    glColor4f(1, 1, 1, 1);
    glScalef(1, 0.001f, 1);  // a squashed sphere is the disc
    sphere(q, d);
    // Labels: still squashed, so 10 units out is 0.01 off either face.
    bindTextureSlot(TEX_LOGO);
    glColor4f(0.5f, 0.5f, 0.5f, 1);
    glTranslatef(0, 10, 0);
    sphere(q, d / 2);
    glTranslatef(0, -20, 0);
    sphere(q, d / 2);
    glPopMatrix();
}

void drawSwordItem() {
    const float a = 0.07f, h = 8;
    GLUquadric* q = itemQuadric();
    glPushMatrix();
    bindTextureSlot(TEX_COLOR_SILVER);
    glColor4f(0.5f, 0.5f, 0.5f, 1);
    glRotatef(180, 1, 0, 0);
    cylinder(q, a, a, h);  // the blade
    glTranslatef(0, 0, 0.5f);
    cylinder(q, 6 * a, 6 * a, 2 * a);  // the guard
    glPopMatrix();
}

namespace {

// Grip, then turns the barrel's axis out of the hand: shared by both guns.
void drawGunGrip(float w, float g) {
    bindTextureSlot(TEX_COLOR_SILVER);
    glColor4f(0.5f, 0.5f, 0.5f, 1);
    glRotatef(200, 1, 0, 0);
    TexturedBox grip;
    grip.setScale(w, w, g);
    shapes::box(grip);
    glRotatef(-110, 1, 0, 0);
    glTranslatef(0, -0.5f, 0);
    glRotatef(180, 1, 0, 0);
}

void drawSight(float s) {
    TexturedBox sight;
    sight.setScale(s, 3 * s, 2 * s);
    shapes::box(sight);
}

}  // namespace

void drawGunItem() {
    const float w = 0.2f, b = 1.9f, g = 0.7f, s = 0.05f;
    glPushMatrix();
    drawGunGrip(w, g);
    cylinder(itemQuadric(), w, w, b);  // barrel
    glTranslatef(0, w, 0.8f * b);
    drawSight(s);
    glPopMatrix();
}

void drawTubeGunItem() {
    const float r = 0.5f, h = 7, w = 0.2f, g = 1.0f, s = 0.07f;
    GLUquadric* q = itemQuadric();
    glPushMatrix();
    drawGunGrip(w, g);
    glTranslatef(0, 0, -0.6f * h);
    cylinder(q, r, r, h);
    cylinder(q, 0.7f * r, 0.7f * r, 1.05f * h);
    bindTextureSlot(TEX_COLOR_BLACK);
    TexturedBox band;
    band.setScale(r, r, r / 2);
    glTranslatef(0, 0, 0.2f * h);
    shapes::box(band);
    glTranslatef(0, 0, 0.6f * h);
    shapes::box(band);
    glTranslatef(0, r, 0.1f * h);
    drawSight(s);
    glPopMatrix();
}

namespace {

void drawHeldItem(int item) {
    switch (item) {
        case ITEM_BALL: drawBallItem(); break;
        case ITEM_FLOWER: drawFlowerItem(); break;
        case ITEM_DISC: drawDiscItem(); break;
        case ITEM_SWORD: drawSwordItem(); break;
        case ITEM_GUN: drawGunItem(); break;
        case ITEM_TUBE_GUN: drawTubeGunItem(); break;
        default: break;  // none, or a value no item has
    }
}

}  // namespace

// ============================================================== 3. Body-part recipes

void Person::drawBodyPart(int idx) {
    if (idx < 0 || idx >= BODY_PART_COUNT) return;
    if (!partQuadric) partQuadric = newFilledQuadric();
    GLUquadric* q = partQuadric;
    const BodyPart& p = part[idx];
    const float L = p.length, R = p.radius;
    const bool selected = idx == selectedPart;

    // Untextured, the highlight is a see-through yellow; textured, it is the
    // yellow texture at the figure's own opacity.
    if (selected)
        glColor4f(1, 1, 0, 0.5f);
    else
        glColor4f(colour[0], colour[1], colour[2], alpha);
    if (app.texturesOn) {
        glEnable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, alpha);
        bindTextureSlot(selected ? TEX_COLOR_YELLOW : p.texture);
    }

    glPushMatrix();
    switch (idx) {
        case ROOT:
            break;

        case TORSO:
            glPushMatrix();  // chest block, from the joint up to L
            sphere(q, 0.9 * R);
            glTranslatef(0, 0.5f * L, 0);
            torsoBox.setScale(R, L / 2, R);
            shapes::box(torsoBox);
            glPopMatrix();
            if (!isMale) {
                // Drawn with the box's last face texture still bound.
                glPushMatrix();
                glTranslatef(0.5f * R, 0.65f * L, R);
                sphere(q, 0.8 * R);
                glTranslatef(-R, 0, 0);
                sphere(q, 0.8 * R);
                glPopMatrix();
            }
            glPushMatrix();  // shoulder block
            glTranslatef(0, 0.75f * L, 0);
            torsoBox.setScale(1.5f * R, 0.25f * L, 0.5f * R);
            shapes::box(torsoBox);
            glPopMatrix();
            break;

        case PELVIS:
            glRotatef(-90, 1, 0, 0);
            cylinder(q, R, R, L);
            break;

        case NECK:
            glRotatef(-90, 1, 0, 0);
            sphere(q, R, 6, 6);
            cylinder(q, R, R, L, 8, 4);
            break;

        case HEAD:
            // An ellipsoid, R across and L/2 along, centred half-way up.
            // (Pushed rather than scaled back, so a zero size cannot poison
            // the matrix the eyes are drawn in.)
            glTranslatef(0, 0.5f * L, 0);
            glPushMatrix();
            glRotatef(-90, 1, 0, 0);
            glScalef(R, R, L);
            sphere(q, 1.0, kSlices, kStacks, R, L);
            glPopMatrix();
            // Eyes on the front (+z) of the head.
            glColor4f(1, 1, 1, alpha);
            if (app.texturesOn) bindTextureSlot(TEX_EYE);
            shapes::eyes(q, R);
            break;

        case LHI:
            drawHeldItem(leftHandItem);
            break;
        case RHI:
            drawHeldItem(rightHandItem);
            break;

        default:
            // Limbs (stomach, arms, hands, legs, feet): a joint ball and an
            // ellipsoid 1.2R across reaching from -0.1L to 1.1L.
            glRotatef(-90, 1, 0, 0);
            shapes::limb(q, R, L);
            break;
    }
    glPopMatrix();
}

// ============================================================== 4. The walk and the trail

void Person::drawNode(BodyPart* node) {
    // Children draw in their parent's frame, siblings in the common parent's.
    for (; node; node = node->nextSibling) {
        glPushMatrix();
        glMultMatrixf(node->transform);
        drawBodyPart(node->index);
        drawNode(node->firstChild);
        glPopMatrix();
    }
}

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

// Draws copy k's parts that no earlier copy drew the same; parentTwin is the
// twin of the parent part (-1 above ROOT).
void drawCopyNodes(Person& p, BodyPart* node, int k, int parent, int parentTwin) {
    for (; node; node = node->nextSibling) {
        const int i = node->index;
        int twin = k;
        for (int m = 0; m < k && twin == k; m++) {
            if (drawn.pixelsPerUnit[m] != drawn.pixelsPerUnit[k] || drawn.maxErrorPx[m] != drawn.maxErrorPx[k])
                continue;
            if (parent >= 0 && drawn.twin[m][parent] != parentTwin) continue;
            if (std::memcmp(drawn.transform[m][i], node->transform, sizeof node->transform) == 0)
                twin = drawn.twin[m][i];
        }
        drawn.twin[k][i] = twin;
        glPushMatrix();
        glMultMatrixf(node->transform);
        if (twin == k) p.drawBodyPart(i);
        drawCopyNodes(p, node->firstChild, k, i, twin);
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
void Person::drawCopy(const FigureView* view, float maxErrorPx) {
    if (!view) {
        drawNode(&part[ROOT]);
        return;
    }
    const BoundingSphere bounds = figureBounds(*this);
    if (!view->sees(bounds)) return;
    const float ppu = detailStep(view->pixelsPerUnit(bounds));
    shapes::setDetail(ppu, maxErrorPx);
    if (drawn.count >= DrawnCopies::kMax) {
        drawNode(&part[ROOT]);
        return;
    }
    const int k = drawn.count++;
    drawn.pixelsPerUnit[k] = ppu;
    drawn.maxErrorPx[k] = maxErrorPx;
    for (int i = 0; i < BODY_PART_COUNT; i++)
        std::memcpy(drawn.transform[k][i], part[i].transform, sizeof part[i].transform);
    drawCopyNodes(*this, &part[ROOT], k, -1, -1);
}

void Person::draw() {
    FigureView view;
    const FigureView* fast = nullptr;
    if (!referenceDrawing()) {
        view = currentView();
        fast = &view;
    }
    // Wireframe shows every edge, the far side's too, and quads as quads.
    shapes::beginFigure(!app.wireframeOn);
    drawn.count = 0;
    drawCopy(fast, kFigureErrorPx);
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
            drawCopy(fast, kTrailErrorPx);
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
