// skeleton.h - the figure's part tree as one table, and the one pass of
// forward kinematics over it.
//
// The tree is a flat list of parts in depth-first order, each with its
// parent: a parent always comes before its children, and children keep
// the order they are drawn and written in. Every walk over the tree
// (drawing, picking, bounds, the BVH hierarchy) is a loop over this list.
// GL-free.
#pragma once

#include "figure/matrix.h"
#include "figure/person.h"

namespace skeleton {

// Part indices in depth-first order; kOrder[0] is ROOT.
extern const int kOrder[BODY_PART_COUNT];
// Each part's parent, by part index; -1 for ROOT.
extern const int kParent[BODY_PART_COUNT];
// Links derived from the table, by part index (-1: none).
int firstChild(int part);
int nextSibling(int part);
// Steps from ROOT (ROOT is 0).
int depth(int part);

// Every part's matrix in the figure's frame (ROOT's carries the position):
// the product of the part matrices from ROOT down, parents first. The
// matrices are the parts' own `transform`, as the pose last left them.
template <typename T>
void modelMatrices(const Person& p, Mat4T<T> model[BODY_PART_COUNT]) {
    model[ROOT] = Mat4T<T>::from(p.part[ROOT].transform);
    for (int k = 1; k < BODY_PART_COUNT; k++) {
        const int i = kOrder[k];
        model[i] = model[kParent[i]] * Mat4T<T>::from(p.part[i].transform);
    }
}

}  // namespace skeleton
