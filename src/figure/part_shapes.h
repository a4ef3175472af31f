// part_shapes.h - the one recipe of every body part's shapes: spheres,
// tubes and boxes with their sizes and their place in the part's frame.
//
// Both drawing paths draw from it (person_draw.cpp), picking ray-tests it
// (edit/pick.cpp) and the bounds hold it (figure_view.cpp), so what is
// clicked and what is kept in sight is what is drawn. The order of the
// shapes is the drawing order, which matters: a shape with `keep` in its
// look is drawn with the colour or texture the shape before it left.
//
// Conventions are GLU's and the box's: a sphere is centred on its origin
// with its axis along +z; a tube runs from radius `base` at z = 0 to `top`
// at z = `height`; a box spans -half..half on each axis. A part extends
// along its own +y, so round shapes are first turned -90 degrees about x.
// GL-free.
#pragma once

#include "figure/matrix.h"

class Person;

namespace partshapes {

enum class Kind { SPHERES, TUBE, BOX };

// How the fast path keeps a pair of spheres as one mesh: the pair's kind
// and its two sizes name it, so equal names must mean equal spheres.
enum class Pair { NONE, LIMB, EYES };

// One sphere of a SPHERES shape, drawn as translate(offset), scale(scale),
// then a sphere of `radius`. `across` and `along` are how much larger it is
// on screen than its radius says, round its axis and along it (a stretched
// sphere), which sets its tessellation for its size.
struct Sphere {
    float radius;
    float offset[3];
    float scale[3];
    int slices, stacks;
    float across, along;
};

// Colour and texture set before a shape; what is not set stays as the
// shape before left it. The part's own colour and texture are set by the
// drawer before its first shape.
struct Look {
    enum Colour { KEEP_COLOUR, WHITE_AT_FIGURE_ALPHA, OPAQUE };
    Colour colour = KEEP_COLOUR;
    float rgb[3] = {1, 1, 1};
    int texture = -1;           // slot to bind; -1 keeps what is bound
    bool onlyTextured = false;  // bind only while textures are shown
};

struct Shape {
    Kind kind = Kind::SPHERES;
    Mat4 frame;  // the part's frame to the shape's own
    Look look;
    // SPHERES: one, or two sent as one mesh where the path can.
    int sphereCount = 0;
    Sphere sphere[2] = {};
    Pair pair = Pair::NONE;
    float pairSize[2] = {0, 0};
    // TUBE
    float base = 0, top = 0, height = 0;
    int slices = 0, stacks = 0;
    // BOX: half sizes; figureBox draws the figure's own box, with its face textures.
    float half[3] = {0, 0, 0};
    bool figureBox = false;
};

constexpr int kMaxShapes = 8;

struct Recipe {
    Shape shape[kMaxShapes];
    int count = 0;
};

// The shapes part `idx` is drawn with, in its own frame, for the person's
// present sizes, gender and held items. An index out of range gives none.
void recipeFor(const Person& p, int idx, Recipe& out);

// How far the part's shapes reach from its joint (the origin of its frame):
// the corners of each shape's box, so never less than the shapes.
float reachOf(const Recipe& r);

}  // namespace partshapes
