// The part recipe (what each part is drawn, picked and bounded with), the
// forward-kinematics pass over the skeleton table, and the quads a mesh is
// drawn with in wireframe.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "figure/figure_view.h"
#include "figure/part_shapes.h"
#include "figure/person.h"
#include "figure/shape_mesh.h"
#include "figure/skeleton.h"

namespace {

// Where point p of shape k's own space lands in the part's frame.
void onPart(const partshapes::Shape& s, int sphere, const float p[3], float out[3]) {
    const partshapes::Sphere& o = s.sphere[sphere];
    const float local[3] = {o.offset[0] + o.scale[0] * o.radius * p[0], o.offset[1] + o.scale[1] * o.radius * p[1],
                            o.offset[2] + o.scale[2] * o.radius * p[2]};
    transform(s.frame, local, out);
}

// The corners of every shape's box of `r`, placed by `at`.
template <typename Visit>
void eachCorner(const partshapes::Recipe& r, const Mat4& at, Visit visit) {
    for (int i = 0; i < r.count; i++) {
        const partshapes::Shape& s = r.shape[i];
        for (int c = 0; c < 8; c++) {
            const float u[3] = {(c & 1) ? 1.0f : -1.0f, (c & 2) ? 1.0f : -1.0f, (c & 4) ? 1.0f : -1.0f};
            float local[3], world[3];
            if (s.kind == partshapes::Kind::SPHERES) {
                for (int k = 0; k < s.sphereCount; k++) {
                    onPart(s, k, u, local);
                    transform(at, local, world);
                    visit(world);
                }
                continue;
            }
            if (s.kind == partshapes::Kind::TUBE) {
                const float w = std::fmax(s.base, s.top);
                const float p[3] = {w * u[0], w * u[1], (c & 4) ? s.height : 0};
                transform(s.frame, p, local);
            } else {
                const float p[3] = {s.half[0] * u[0], s.half[1] * u[1], s.half[2] * u[2]};
                transform(s.frame, p, local);
            }
            transform(at, local, world);
            visit(world);
        }
    }
}

}  // namespace

TEST(PartRecipe, ShapesFollowThePartsLengthAndRadius) {
    Person p;
    partshapes::Recipe r;
    // A limb: joint ball R, then an ellipsoid from -0.1 L to 1.1 L along the
    // part's +y, 1.2 R across.
    partshapes::recipeFor(p, RLL, r);
    const float L = p.part[RLL].length, R = p.part[RLL].radius;
    ASSERT_EQ(r.count, 1);
    ASSERT_EQ(r.shape[0].sphereCount, 2);
    const float up[3] = {0, 0, 1}, down[3] = {0, 0, -1}, side[3] = {1, 0, 0};
    float q[3];
    onPart(r.shape[0], 1, up, q);
    EXPECT_NEAR(q[1], 1.1f * L, 1e-5f);
    EXPECT_NEAR(q[2], 0, 1e-5f) << "along the part's own +y";
    onPart(r.shape[0], 1, down, q);
    EXPECT_NEAR(q[1], -0.1f * L, 1e-5f);
    onPart(r.shape[0], 1, side, q);
    EXPECT_NEAR(q[0], 1.2f * R, 1e-5f);
    EXPECT_NEAR(partshapes::reachOf(r), std::sqrt(1.1f * L * 1.1f * L + 2 * 1.2f * R * 1.2f * R), 1e-4f)
        << "the reach is the far corner of the ellipsoid's box";

    // A limb of no length keeps its joint ball alone; ROOT has no shapes.
    p.part[RLL].setSize(0, R);
    partshapes::recipeFor(p, RLL, r);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.shape[0].sphereCount, 1);
    partshapes::recipeFor(p, ROOT, r);
    EXPECT_EQ(r.count, 0);
    partshapes::recipeFor(p, BODY_PART_COUNT, r);
    EXPECT_EQ(r.count, 0);

    // The torso's chest spheres are the female's only.
    partshapes::recipeFor(p, TORSO, r);
    const int male = r.count;
    p.setGender(false, 1.0f);
    partshapes::recipeFor(p, TORSO, r);
    EXPECT_EQ(r.count, male + 2);
}

TEST(PartRecipe, HeldItemsReachAsFarAsTheyAreDrawn) {
    Person p;
    partshapes::Recipe r;
    partshapes::recipeFor(p, RHI, r);
    EXPECT_EQ(r.count, 0) << "an empty hand";
    const float longest[HAND_ITEM_COUNT] = {0, 0.5f, 1.8f, 3.0f, 8.0f, 1.9f, 4.2f};
    for (int item = ITEM_BALL; item < HAND_ITEM_COUNT; item++) {
        p.rightHandItem = item;
        partshapes::recipeFor(p, RHI, r);
        EXPECT_GT(r.count, 0) << item;
        EXPECT_GE(partshapes::reachOf(r), longest[item]) << item;
        EXPECT_LT(partshapes::reachOf(r), longest[item] + 2.5f) << item;
    }
    p.rightHandItem = 42;  // no such item
    partshapes::recipeFor(p, RHI, r);
    EXPECT_EQ(r.count, 0);
}

// Posed every which way, with every item in both hands, no shape pokes out
// of the bounds.
TEST(FigureBounds, HoldEveryShapeOfTheRecipeInAnyPose) {
    Person p;
    p.setGender(false, 1.3f);
    p.setPosition(2, 1, -4);
    for (int trial = 0; trial < 12; trial++) {
        p.leftHandItem = trial % HAND_ITEM_COUNT;
        p.rightHandItem = (trial + 3) % HAND_ITEM_COUNT;
        for (int i = 0; i < BODY_PART_COUNT; i++)
            for (int k = 0; k < 3; k++) p.part[i].rotation[k] = static_cast<float>((i * 37 + k * 71 + trial * 53) % 360);
        for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
        const BoundingSphere b = figureBounds(p);
        Mat4 model[BODY_PART_COUNT];
        skeleton::modelMatrices(p, model);
        float farthest = 0;
        for (int i = 0; i < BODY_PART_COUNT; i++) {
            partshapes::Recipe r;
            partshapes::recipeFor(p, i, r);
            eachCorner(r, model[i], [&](const float w[3]) {
                const float d = std::sqrt((w[0] - b.centre[0]) * (w[0] - b.centre[0]) +
                                          (w[1] - b.centre[1]) * (w[1] - b.centre[1]) +
                                          (w[2] - b.centre[2]) * (w[2] - b.centre[2]));
                farthest = std::fmax(farthest, d);
            });
        }
        EXPECT_LE(farthest, b.radius * 1.0001f) << "trial " << trial;
    }
}

TEST(SkeletonPass, PlacesEveryJointWhereItsChainOfPartsLeadsIt) {
    Person p;
    p.setPosition(3, 0, 0);
    p.part[ROOT].rotation[1] = 90;  // facing +x: the figure's left (+x) turns to -z
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
    Mat4 model[BODY_PART_COUNT];
    skeleton::modelMatrices(p, model);
    // The left shoulder: R(TORSO) + R(LUA) out to the side, 0.8 L(TORSO) up
    // from the torso joint, which sits L(PELVIS) + L(STOMK) above the root.
    const float side = p.part[TORSO].radius + p.part[LUA].radius;
    const float up = p.part[PELVIS].length + p.part[STOMK].length + 0.8f * p.part[TORSO].length;
    EXPECT_NEAR(model[LUA].m[12], 3, 1e-5f);
    EXPECT_NEAR(model[LUA].m[13], up, 1e-5f);
    EXPECT_NEAR(model[LUA].m[14], -side, 1e-5f);
}

TEST(WireframeFaces, PairTheBandTrianglesIntoTheQuadricsQuads) {
    static shapemesh::Mesh m;
    static shapemesh::Faces f;
    shapemesh::buildSphere(m, 1.0, 10, 6);
    shapemesh::facesOf(m, f);
    // Four bands of ten quads; the two pole rows stay triangles.
    EXPECT_EQ(f.quadIndexCount, 4 * 10 * 4);
    EXPECT_EQ(f.triangleIndexCount, 2 * 10 * 3);
    // Each quad's corners are four distinct vertices, two rings apart, and
    // they go round the quad (no diagonal between neighbours).
    for (int i = 0; i < f.quadIndexCount; i += 4) {
        std::set<int> corners(f.quad + i, f.quad + i + 4);
        EXPECT_EQ(corners.size(), 4u);
        for (int k = 0; k < 4; k++) {
            const shapemesh::Vertex& a = m.vertex[f.quad[i + k]];
            const shapemesh::Vertex& b = m.vertex[f.quad[i + (k + 1) % 4]];
            const bool sameRing = std::fabs(a.z - b.z) < 1e-6f, sameSlice = std::fabs(a.s - b.s) < 1e-6f;
            EXPECT_TRUE(sameRing != sameSlice) << "edge " << k << " of quad " << i / 4;
        }
    }

    // The two spheres of a limb, one mesh: twice the faces.
    const float none[3] = {0, 0, 0}, unit[3] = {1, 1, 1}, up[3] = {0, 0, 2}, thin[3] = {0.5f, 0.5f, 1};
    m.vertexCount = m.indexCount = 0;
    shapemesh::appendSphere(m, 1.0, 10, 6, none, unit);
    shapemesh::appendSphere(m, 1.0, 8, 5, up, thin);
    shapemesh::facesOf(m, f);
    EXPECT_EQ(f.quadIndexCount, (4 * 10 + 3 * 8) * 4);
    EXPECT_EQ(f.triangleIndexCount, (2 * 10 + 2 * 8) * 3);
}
