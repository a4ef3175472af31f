// The top, front and side views frame every figure shown, whatever the
// window's shape.
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "camera/named_views.h"
#include "edit/limb_ik.h"

TEST(NamedViews, EveryJointOfEveryFigureShownIsInsideTheBoxAtAnyWindowShape) {
    resetAppState();
    app.numPersons = 3;
    app.persons[0].setPosition(-12, 0, 4);
    app.persons[1].setPosition(9, 2, -15);
    app.persons[2].part[RUA].rotation[0] = 0;  // an arm straight up
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < BODY_PART_COUNT; j++) app.persons[i].computePartTransform(j);
    for (int view : {VIEW_TOP, VIEW_FRONT, VIEW_RIGHT})
        for (float width : {300.0f, 700.0f, 1400.0f}) {
            const ViewBox b = frameNamedView(view, app.persons, 3, width, 500);
            EXPECT_NEAR((b.right - b.left) / (b.top - b.bottom), width / 500, 1e-6) << "the window's shape";
            float f[3], r[3], u[3];
            namedViewAxes(view, f, r, u);
            for (int i = 0; i < 3; i++)
                for (int part : {ROOT, HEAD, RH, RF, LF}) {
                    const WorldFrame w = partWorldFrame(app.persons[i], part);
                    double x = 0, y = 0, depth = 0;
                    for (int k = 0; k < 3; k++) {
                        x += (w.pos[k] - b.eye[k]) * r[k];
                        y += (w.pos[k] - b.eye[k]) * u[k];
                        depth += (w.pos[k] - b.eye[k]) * f[k];
                    }
                    EXPECT_GT(x, b.left + 1); EXPECT_LT(x, b.right - 1);
                    EXPECT_GT(y, b.bottom + 1); EXPECT_LT(y, b.top - 1);
                    EXPECT_GT(depth, b.nearPlane); EXPECT_LT(depth, b.farPlane);
                }
        }
    resetAppState();
}
