// named_views.h - the top, front and right-side views: orthographic, framing
// every figure in use, chosen by Ctrl+7, Ctrl+1 and Ctrl+3; Ctrl+5 goes back
// to the camera as it was.
//
// GL-free: the view's box and look-at are worked out here; the display pass
// draws with them and picking casts its rays through them. While a named
// view shows, the camera is not applied (its mode and tours wait), and the
// camera as it was when the first named view was chosen is kept to return to.
#pragma once

class Camera;
class Person;

enum NamedView { VIEW_CAMERA = 0, VIEW_TOP, VIEW_FRONT, VIEW_RIGHT };

// An orthographic look at the figures: eye, target and up as gluLookAt
// takes them, and the box as glOrtho does.
struct ViewBox {
    float eye[3], target[3], up[3];
    double left, right, bottom, top, nearPlane, farPlane;
};

// Which view shows, its box (framed when the view was chosen, so a drag
// does not move the view under the pointer), and the camera to go back to.
struct NamedViewState {
    int view = VIEW_CAMERA;
    ViewBox box = {};
    float framedWidth = 0, framedHeight = 0;  // the window size the box was framed for
    float savedEye[3] = {0, 0, 0};
    float savedTarget[3] = {0, 0, 0};
};

// Room left around the figures' joints (a hand, a foot, a head beyond).
constexpr float VIEW_MARGIN = 2.5f;

// The box framing persons[0 .. count-1] from `view` in a window of the given
// size (a zero side is taken as 1); with no figures, the stage's middle.
ViewBox frameNamedView(int view, const Person* persons, int count, float width, float height);

// The direction the view looks in (unit), and its screen right and up.
void namedViewAxes(int view, float forward[3], float right[3], float up[3]);

// Switch to a named view, framing persons[0 .. count-1] for a window of the
// given size and keeping the camera the first time; back to the camera,
// restoring it.
void showNamedView(NamedViewState& s, const Camera& camera, int view, const Person* persons, int count,
                   float width, float height);
void showCameraView(NamedViewState& s, Camera& camera);
// The box of the named view showing, framed again if the window's size
// changed since; call only while a named view shows.
const ViewBox& namedViewBox(NamedViewState& s, const Person* persons, int count, float width, float height);
