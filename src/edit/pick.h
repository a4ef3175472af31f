// pick.h - which body part lies under a window pixel, and the click test
// that decides when a left press and release means "select this".
//
// Picking is done in the model, without GL: a ray from the eye through the
// pixel (built from the same projection and look-at the window uses) is
// tested against the shapes every drawn part is made of, in the sizes the
// drawing gives them (spheres, ellipsoids, cylinders, boxes, the female
// chest, the held items). The nearest hit between the clipping planes wins,
// so what is drawn in front is what is picked.
//
// Pixels are GLUT's: x to the right, y down from the top edge.
#pragma once

class Camera;
class Person;
struct ViewBox;

struct PickRay {
    float origin[3] = {0, 0, 0};
    float dir[3] = {0, 0, -1};  // unit length
    float tMin = 0;             // the stretch of the ray the clipping planes keep
    float tMax = 0;
};

struct PickHit {
    int person = -1;
    int part = -1;
    float distance = 0;  // along the ray, in scene units
};

// The ray through the centre of pixel (x, y) of a width x height window. In
// the orthographic view the scene is drawn without the camera's look-at, so
// the ray ignores the camera there too.
PickRay rayThroughPixel(int x, int y, float width, float height, bool orthographic,
                        const Camera& camera);

// The ray through pixel (x, y) of a named view's orthographic box.
PickRay rayThroughViewBox(int x, int y, float width, float height, const ViewBox& box);

// The ray through a pixel of the program's window as it shows now: the
// camera, the menu's orthographic view or a named view.
PickRay pointerRay(int x, int y);
// The box of the named view the window shows (app.namedView); call only
// while one shows.
const ViewBox& shownViewBox();

// The front-most part of persons[0 .. count-1] that `ray` hits. False, with
// `hit` untouched, when it hits none.
bool pickPart(const Person* persons, int count, const PickRay& ray, PickHit& hit);

// Picks at a pixel of the program's window (the figures in use, the current
// camera and window size) and selects the figure and part hit. A miss, or a
// pixel under the help pages or the keyboard chart, changes nothing.
bool selectPartAtPixel(int x, int y);

// ------------------------------------------------------------ click test
// A press and release of the left button within this many pixels of each
// other, with no movement further away in between, is a click, not a drag.
constexpr int CLICK_SLOP_PIXELS = 3;

void clickPressed(int x, int y);
void clickMoved(int x, int y);
// True when the release ends a click that began with clickPressed.
bool clickReleased(int x, int y);
