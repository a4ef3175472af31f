// The figure batch against GL's own drawing, read back in feedback mode:
// shapes placed in eye space land where GL puts them and are lit the same
// (positions, normals through the inverse transpose, colour, texture
// coordinates); the tube mesh lays out as gluCylinder does; and the batch's
// draws keep the order of see-through shapes that meet on screen.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "scene/scene_init.h"
#include "figure/shape_batch.h"
#include "figure/shape_cache.h"
#include "figure/shape_mesh.h"
#include "gl_probe.h"

using namespace glprobe;

namespace {

// One vertex of a feedback polygon: window x, y, z, colour, texture s, t.
using FeedbackVertex = std::array<float, 9>;
using Triangle = std::array<FeedbackVertex, 3>;

// Runs `draw` in feedback mode and returns the triangles GL would raster.
template <typename Draw>
std::vector<Triangle> feedback(Draw draw) {
    static float buffer[1 << 18];
    glFeedbackBuffer(1 << 18, GL_3D_COLOR_TEXTURE, buffer);
    glRenderMode(GL_FEEDBACK);
    draw();
    const int n = glRenderMode(GL_RENDER);
    std::vector<Triangle> out;
    for (int i = 0; i < n;) {
        EXPECT_EQ(static_cast<int>(buffer[i]), GL_POLYGON_TOKEN);
        if (static_cast<int>(buffer[i]) != GL_POLYGON_TOKEN) break;
        const int count = static_cast<int>(buffer[i + 1]);
        i += 2;
        EXPECT_EQ(count, 3);
        Triangle t;
        for (int k = 0; k < count; k++, i += 11)  // x y z, r g b a, s t r q
            for (int e = 0; e < 9; e++) t[k % 3][e] = buffer[i + e];
        out.push_back(t);
    }
    return out;
}

bool sameVertex(const FeedbackVertex& a, const FeedbackVertex& b) {
    for (int e = 0; e < 3; e++)
        if (std::fabs(a[e] - b[e]) > (e < 2 ? 2e-3f : 1e-5f)) return false;
    for (int e = 3; e < 7; e++)
        if (std::fabs(a[e] - b[e]) > 1.5f / 255) return false;
    for (int e = 7; e < 9; e++)
        if (std::fabs(a[e] - b[e]) > 1e-5f) return false;
    return true;
}

// The same corners in any order (a turned face is the same triangle).
bool sameTriangle(const Triangle& a, const Triangle& b) {
    std::array<int, 3> pick = {0, 1, 2};
    do {
        if (sameVertex(a[0], b[pick[0]]) && sameVertex(a[1], b[pick[1]]) && sameVertex(a[2], b[pick[2]]))
            return true;
    } while (std::next_permutation(pick.begin(), pick.end()));
    return false;
}

// Every triangle of `want` among `got`, and no more of them.
void expectSameTriangles(const std::vector<Triangle>& want, const std::vector<Triangle>& got, const char* what) {
    EXPECT_EQ(got.size(), want.size()) << what;
    int missing = 0;
    for (const Triangle& t : want)
        if (std::none_of(got.begin(), got.end(), [&](const Triangle& g) { return sameTriangle(t, g); })) missing++;
    EXPECT_EQ(missing, 0) << what;
}

// The scene's lights and material, a perspective camera, and a modelview
// that turns, stretches unevenly and moves the shape.
void litPerspective(float modelview[16]) {
    glViewport(0, 0, 700, 500);
    setFixedGlState();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 1.4, 1, 200);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat sun[4] = {0.3f, 1, 0.5f, 0};
    glLightfv(GL_LIGHT1, GL_POSITION, sun);
    glTranslatef(1, -2, -12);
    glRotatef(35, 0.3f, 1, 0.2f);
    glScalef(1.5f, 0.7f, 2.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
}

void drawBatched(const shapemesh::Mesh& m, const float modelview[16], bool cull) {
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    shapebatch::setProjection(projection);
    const float none[3] = {0, 0, 0}, unit[3] = {1, 1, 1}, colour[4] = {0.8f, 0.6f, 0.4f, 1};
    shapebatch::addMesh(m, shapebatch::place(modelview, none, unit, 1), colour, {0, false, cull});
    shapebatch::flush();
}

}  // namespace

TEST(ShapeBatch, PlacesAndLightsShapesAsGLDoes) {
    static shapemesh::Mesh sphere, tube;
    shapemesh::buildSphere(sphere, 1.0, 7, 5);
    shapemesh::computePlanes(sphere);
    shapemesh::buildCylinder(tube, 1.0, 0.6, 2.5, 6, 3);
    float modelview[16];
    litPerspective(modelview);
    glColor4f(0.8f, 0.6f, 0.4f, 1);

    // A closed shape: GL's front faces, and only those.
    glEnable(GL_CULL_FACE);
    const std::vector<Triangle> front = feedback([&] { shapes::emitMesh(sphere); });
    glDisable(GL_CULL_FACE);
    ASSERT_GT(front.size(), 20u);
    expectSameTriangles(front, feedback([&] { drawBatched(sphere, modelview, true); }), "culled sphere");
    // Its back faces are told apart in its own coordinates; without planes,
    // in eye space: the same faces either way.
    sphere.hasPlanes = false;
    expectSameTriangles(front, feedback([&] { drawBatched(sphere, modelview, true); }), "sphere, eye space");

    // An open tube: every face, the far ones turned to the eye.
    const std::vector<Triangle> all = feedback([&] { shapes::emitMesh(tube); });
    ASSERT_EQ(all.size(), static_cast<size_t>(2 * 6 * 3));
    expectSameTriangles(all, feedback([&] { drawBatched(tube, modelview, false); }), "unculled tube");

    // The batch leaves GL as it found it.
    float after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int k = 0; k < 16; k++) EXPECT_FLOAT_EQ(after[k], modelview[k]);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 0.6f);
    EXPECT_EQ(shapebatch::waitingVertices(), 0);
}

TEST(ShapeBatch, TubeMeshIsLaidOutAsTheQuadricsCylinder) {
    float modelview[16];
    litPerspective(modelview);
    glColor4f(1, 1, 1, 1);
    GLUquadric* q = gluNewQuadric();  // freed below: this test owns it
    gluQuadricNormals(q, GLU_SMOOTH);
    gluQuadricTexture(q, GL_TRUE);
    for (auto [base, top, slices, stacks] : {std::array<double, 4>{1.0, 0.5, 5, 2}, {0.7, 0.7, 8, 1}}) {
        const std::vector<Triangle> glu =
            feedback([&] { gluCylinder(q, base, top, 2.0, static_cast<int>(slices), static_cast<int>(stacks)); });
        static shapemesh::Mesh tube;
        shapemesh::buildCylinder(tube, base, top, 2.0, static_cast<int>(slices), static_cast<int>(stacks));
        const std::vector<Triangle> ours = feedback([&] { shapes::emitMesh(tube); });
        ASSERT_EQ(ours.size(), glu.size());
        // The same triangles in the same order, corner by corner: the quads
        // are split along the same diagonal.
        for (size_t i = 0; i < glu.size(); i++)
            for (int k = 0; k < 3; k++) EXPECT_TRUE(sameVertex(glu[i][k], ours[i][k])) << "triangle " << i;
    }
    gluDeleteQuadric(q);
}

namespace {

// A square of side 2 centred at (x, y) on the plane z, as the batch draws
// quads, textured from `slot`, in colour (1, 1, 1, alpha).
void batchSquare(float x, float y, float z, int slot, float alpha) {
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float offset[3] = {x, y, z}, unit[3] = {1, 1, 1}, normal[3] = {0, 0, 1};
    const float corner[4][3] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    const float texCoord[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const float colour[4] = {1, 1, 1, alpha};
    const shapebatch::Style style{static_cast<unsigned>(app.textures[slot]), true, true};
    shapebatch::addQuad(corner, texCoord, shapebatch::place(identity, offset, unit, 1), normal, colour, style);
}

void directSquare(float x, float y, float z, int slot, float alpha) {
    bindTextureSlot(slot);
    glColor4f(1, 1, 1, alpha);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex3f(x - 1, y - 1, z);
    glTexCoord2f(1, 0); glVertex3f(x + 1, y - 1, z);
    glTexCoord2f(1, 1); glVertex3f(x + 1, y + 1, z);
    glTexCoord2f(0, 1); glVertex3f(x - 1, y + 1, z);
    glEnd();
}

struct Square {
    float x, y, z;
    int slot;
    float alpha;
};

// Draws the squares through the batch and directly, and returns the draws
// the batch used; the probes at `at` must agree.
int drawBothWays(const std::vector<Square>& squares, const std::vector<std::array<float, 2>>& at) {
    std::vector<Rgb> direct;
    beginFrame(FRONT, 0);
    glEnable(GL_TEXTURE_2D);
    for (const Square& s : squares) directSquare(s.x, s.y, s.z, s.slot, s.alpha);
    for (const auto& p : at) direct.push_back(probe(p[0], p[1]));

    beginFrame(FRONT, 0);
    glEnable(GL_TEXTURE_2D);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    shapebatch::setProjection(projection);
    const int before = shapebatch::drawsSent();
    for (const Square& s : squares) batchSquare(s.x, s.y, s.z, s.slot, s.alpha);
    shapebatch::flush();
    for (size_t i = 0; i < at.size(); i++)
        EXPECT_TRUE(near(probe(at[i][0], at[i][1]), direct[i], 2)) << "probe " << i;
    glDisable(GL_TEXTURE_2D);
    return shapebatch::drawsSent() - before;
}

}  // namespace

TEST(ShapeBatch, KeepsTheOrderOfSeeThroughShapesThatMeetAndGroupsTheRest) {
    resetAppState();
    loadSolidTextures();
    // Three see-through squares, the third in the first one's texture.
    // Where it meets the second, it must come after it: three draws.
    const std::vector<std::array<float, 2>> probes = {{-4, 0}, {-2.5f, 0}, {-1.25f, 0}, {0, 0}, {2, 0}, {5, 0}};
    EXPECT_EQ(drawBothWays({{-4, 0, 0, 10, 0.5f}, {-2, 0, 0.5f, 11, 0.5f}, {-0.5f, 0, 1, 10, 0.5f}}, probes), 3);
    // Out of the second one's way, it joins the first one's draw.
    EXPECT_EQ(drawBothWays({{-4, 0, 0, 10, 0.5f}, {-2, 0, 0.5f, 11, 0.5f}, {5, 0, 1, 10, 0.5f}}, probes), 2);
    // Opaque squares go by texture whatever they meet: depth sorts them out.
    EXPECT_EQ(drawBothWays({{-4, 0, 0, 10, 1}, {-2, 0, 0.5f, 11, 1}, {-0.5f, 0, 1, 10, 1}}, probes), 2);
    // A see-through square after an opaque one it covers comes after it.
    EXPECT_EQ(drawBothWays({{-2, 0, 0, 10, 1}, {-2, 0, 1, 11, 0.5f}, {5, 0, 0, 10, 1}}, probes), 2);
}
