// The fast drawing's model side: the sphere meshes (closed, wound outwards,
// no zero-area triangles, laid out as the quadrics lay theirs), the
// tessellation chosen by size on screen, and the figure's bounding sphere
// with the view questions asked of it.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "figure/figure_view.h"
#include "figure/matrix.h"
#include "figure/person.h"
#include "figure/shape_mesh.h"

namespace {

using shapemesh::Mesh;
using shapemesh::Vertex;

struct V3 {
    double x, y, z;
};
V3 sub(const Vertex& a, const Vertex& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// A position rounded, so the seam's and poles' doubled vertices meet.
std::tuple<long, long, long> at(const Vertex& v) {
    return {std::lround(v.x * 1e4), std::lround(v.y * 1e4), std::lround(v.z * 1e4)};
}

// gluPerspective's matrix, column-major.
void perspective(float fovY, float aspect, float zNear, float zFar, float m[16]) {
    const float f = 1 / std::tan(fovY * 3.14159265f / 360);
    for (int i = 0; i < 16; i++) m[i] = 0;
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1;
    m[14] = 2 * zFar * zNear / (zNear - zFar);
}

FigureView perspectiveView() {
    FigureView v{};
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; i++) v.modelview[i] = identity[i];
    perspective(60, 1.4f, 1, 2000, v.projection);
    v.viewportWidth = 700;
    v.viewportHeight = 500;
    return v;
}

}  // namespace

TEST(SphereMesh, IsClosedWoundOutwardsAndFreeOfZeroAreaTriangles) {
    static Mesh m;
    for (auto [slices, stacks] : {std::pair{10, 6}, {6, 6}, {6, 4}, {3, 2}}) {
        shapemesh::buildSphere(m, 2.0, slices, stacks);
        ASSERT_EQ(m.indexCount, 3 * 2 * slices * (stacks - 1)) << slices << "x" << stacks;
        std::map<std::pair<std::tuple<long, long, long>, std::tuple<long, long, long>>, int> edges;
        for (int i = 0; i < m.indexCount; i += 3) {
            const Vertex& a = m.vertex[m.index[i]];
            const Vertex& b = m.vertex[m.index[i + 1]];
            const Vertex& c = m.vertex[m.index[i + 2]];
            const V3 n = cross(sub(b, a), sub(c, a));
            const double area = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z) / 2;
            EXPECT_GT(area, 1e-4) << "triangle " << i / 3;
            // Outwards: the face normal points away from the centre.
            EXPECT_GT(n.x * (a.x + b.x + c.x) + n.y * (a.y + b.y + c.y) + n.z * (a.z + b.z + c.z), 0);
            edges[{at(a), at(b)}]++;
            edges[{at(b), at(c)}]++;
            edges[{at(c), at(a)}]++;
        }
        // Closed and consistently wound: each edge once each way.
        for (const auto& [edge, uses] : edges) {
            EXPECT_EQ(uses, 1);
            EXPECT_EQ(edges.count({edge.second, edge.first}), 1u);
        }
    }
}

TEST(SphereMesh, LaysOutNormalsAndPictureAsTheQuadricDoes) {
    static Mesh m;
    shapemesh::buildSphere(m, 2.0, 4, 2);
    ASSERT_EQ(m.vertexCount, 5 * 3);
    for (int i = 0; i < m.vertexCount; i++) {
        const Vertex& v = m.vertex[i];
        EXPECT_NEAR(v.nx * 2, v.x, 1e-6);
        EXPECT_NEAR(v.nz * 2, v.z, 1e-6);
        EXPECT_NEAR(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz, 1, 1e-6);
    }
    // t runs from the -z pole to the +z pole; s starts at +y and turns
    // towards -x, so a picture wraps the same way round.
    EXPECT_FLOAT_EQ(m.vertex[0].z, -2);
    EXPECT_FLOAT_EQ(m.vertex[0].t, 0);
    EXPECT_FLOAT_EQ(m.vertex[14].z, 2);
    EXPECT_FLOAT_EQ(m.vertex[14].t, 1);
    const Vertex* equator = &m.vertex[5];
    EXPECT_NEAR(equator[0].y, 2, 1e-6);
    EXPECT_FLOAT_EQ(equator[0].s, 0);
    EXPECT_NEAR(equator[1].x, -2, 1e-6);
    EXPECT_FLOAT_EQ(equator[1].s, 0.25f);
    EXPECT_NEAR(equator[4].y, 2, 1e-6);  // the seam again, for s = 1
    EXPECT_FLOAT_EQ(equator[4].s, 1);

    // Moved and squashed: positions follow, normals are divided by the scale.
    const float offset[3] = {0, 0, 5}, scale[3] = {0.5f, 0.5f, 1};
    m.vertexCount = m.indexCount = 0;
    shapemesh::appendSphere(m, 1.0, 4, 2, offset, scale);
    shapemesh::appendSphere(m, 1.0, 4, 2, offset, scale);
    EXPECT_EQ(m.vertexCount, 30);
    EXPECT_GE(m.index[m.indexCount - 1], 15) << "the second sphere indexes its own vertices";
    EXPECT_NEAR(equator[1].x, -0.5f, 1e-6);
    EXPECT_NEAR(equator[1].nx, -2, 1e-6);
    EXPECT_NEAR(equator[1].z, 5, 1e-6);
}

TEST(ShapeDetail, KeepsFullDetailUpCloseAndThinsOutWithSize) {
    EXPECT_EQ(shapemesh::detailFor(10, 6, 200, 200, 0.5f).slices, 10);
    EXPECT_EQ(shapemesh::detailFor(10, 6, 200, 200, 0.5f).stacks, 6);
    EXPECT_EQ(shapemesh::detailFor(6, 6, 200, 200, 0.5f).slices, 6) << "never finer than the full detail";
    int previous = 3;
    for (float r = 0.5f; r < 100; r *= 1.5f) {
        const shapemesh::Detail d = shapemesh::detailFor(10, 6, r, r, 0.5f);
        EXPECT_GE(d.slices, previous) << r;
        EXPECT_LE(d.stacks, 6);
        EXPECT_GE(d.stacks, 2);
        // The chosen facets stay within the allowed error, unless at full detail.
        if (d.slices < 10) {
            EXPECT_LE(r * (1 - std::cos(3.14159265 / d.slices)), 0.5f) << r;
        }
        if (d.stacks < 6) {
            EXPECT_LE(r * (1 - std::cos(3.14159265 / (2 * d.stacks))), 0.5f) << r;
        }
        previous = d.slices;
    }
    EXPECT_EQ(shapemesh::detailFor(10, 6, 1, 1, 0.5f).slices, 3);
    EXPECT_LT(shapemesh::detailFor(10, 6, 5, 5, 1.0f).slices, shapemesh::detailFor(10, 6, 5, 5, 0.5f).slices);
    // A long thin ellipsoid needs its stacks for its length, not its slices.
    const shapemesh::Detail thin = shapemesh::detailFor(10, 6, 2, 40, 0.5f);
    EXPECT_EQ(thin.stacks, 6);
    EXPECT_LE(thin.slices, 5);
    EXPECT_LE(12 * (1 - std::cos(3.14159265 / (2 * shapemesh::detailFor(10, 6, 40, 12, 0.5f).stacks))), 0.5f);
}

TEST(FigureBounds, HoldTheWholeFigureAndItsHeldItem) {
    Person p;
    p.setPosition(5, 0, -3);
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
    const BoundingSphere bare = figureBounds(p);
    EXPECT_FLOAT_EQ(bare.centre[0], 5);
    EXPECT_FLOAT_EQ(bare.centre[2], -3);
    // The top of the head is about 8.3 above the position, the feet 5.8 below.
    EXPECT_GT(bare.radius, 8.3f);
    EXPECT_LT(bare.radius, 25);
    // The right hand's item joint, through the chain of part matrices.
    Mat4 chain;
    for (int i : {ROOT, PELVIS, STOMK, TORSO, RUA, RLA, RH, RHI}) chain = chain * Mat4::from(p.part[i].transform);
    const float* world = chain.m;
    const float dx = world[12] - 5, dy = world[13], dz = world[14] + 3;
    p.rightHandItem = ITEM_SWORD;  // 8 long, out of the hand
    EXPECT_GE(figureBounds(p).radius, std::sqrt(dx * dx + dy * dy + dz * dz) + 8);
}

TEST(FigureView, SeesWhatIsInTheViewVolumeAndMeasuresItsSizeOnScreen) {
    const FigureView v = perspectiveView();
    EXPECT_TRUE(v.sees({{0, 0, -50}, 10}));
    EXPECT_FALSE(v.sees({{0, 0, 50}, 10})) << "behind the eye";
    EXPECT_FALSE(v.sees({{200, 0, -50}, 10})) << "far to the right";
    EXPECT_TRUE(v.sees({{45, 0, -50}, 10})) << "reaching in from the right";
    EXPECT_FALSE(v.sees({{0, 0, -3000}, 10})) << "beyond the far plane";
    EXPECT_TRUE(v.sees({{0, 0, 5}, 10})) << "the eye inside it";

    // Twice as far is half as large; a unit at depth d spans 250 / (d tan 30) pixels.
    const float near = v.pixelsPerUnit({{0, 0, -20}, 0});
    EXPECT_NEAR(near, 250 / (20 * std::tan(3.14159265f / 6)), 0.01f);
    EXPECT_NEAR(v.pixelsPerUnit({{0, 0, -40}, 0}), near / 2, 0.01f);
    EXPECT_NEAR(v.pixelsPerUnit({{0, 0, -40}, 20}), near, 0.01f) << "measured at the nearest point";
    EXPECT_GT(v.pixelsPerUnit({{0, 0, -5}, 10}), 1e5f) << "eye inside: full detail";

    FigureView ortho = v;
    for (float& e : ortho.projection) e = 0;
    ortho.projection[0] = 0.1f;
    ortho.projection[5] = 0.1f;
    ortho.projection[10] = -0.1f;
    ortho.projection[15] = 1;
    EXPECT_NEAR(ortho.pixelsPerUnit({{0, 0, -5}, 1}), ortho.pixelsPerUnit({{0, 0, -50}, 1}), 1e-4f);
    EXPECT_NEAR(ortho.pixelsPerUnit({{0, 0, -5}, 1}), 35, 1e-4f);
}
