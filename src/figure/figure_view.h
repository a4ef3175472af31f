// figure_view.h - where a figure stands in the view: a sphere that holds all
// of it, whether that sphere is in sight, and how many pixels a scene unit
// spans at its nearest point. The fast drawing uses these to skip figures
// out of sight and to tessellate by size on screen.
//
// GL-free: the caller hands in the matrices (column-major, as GL keeps them)
// and the viewport size.
#pragma once

#include "figure/matrix.h"
#include "figure/person.h"

struct BoundingSphere {
    float centre[3];
    float radius;
};

// Holds every part and held item of the figure in its present pose, in the
// frame the figure is drawn in (ROOT's transform carries the position),
// centred on ROOT's joint.
BoundingSphere figureBounds(const Person& p);
// The same from the parts' model matrices (skeleton.h) and reaches, for a
// drawing that has both already.
BoundingSphere figureBounds(const Mat4 model[BODY_PART_COUNT], const float reach[BODY_PART_COUNT]);
// How far each part's shapes reach from its joint (part_shapes.h), with
// the room the fast path's detail was tuned with; it changes only with the
// sizes, the gender and the held items.
void partReaches(const Person& p, float reach[BODY_PART_COUNT]);

struct FigureView {
    float modelview[16];
    float projection[16];
    float viewportWidth, viewportHeight;

    // False only when the sphere lies wholly outside the view volume.
    bool sees(const BoundingSphere& s) const;
    // Pixels per scene unit at the sphere's point nearest the eye; very large
    // when the eye is inside it.
    float pixelsPerUnit(const BoundingSphere& s) const;
};
