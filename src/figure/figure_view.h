// figure_view.h - where a figure stands in the view: a sphere that holds all
// of it, whether that sphere is in sight, and how many pixels a scene unit
// spans at its nearest point. The fast drawing uses these to skip figures
// out of sight and to tessellate by size on screen.
//
// GL-free: the caller hands in the matrices (column-major, as GL keeps them)
// and the viewport size.
#pragma once

class Person;

struct BoundingSphere {
    float centre[3];
    float radius;
};

// Holds every part and held item of the figure in its present pose, in the
// frame the figure is drawn in (ROOT's transform carries the position).
BoundingSphere figureBounds(const Person& p);

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
