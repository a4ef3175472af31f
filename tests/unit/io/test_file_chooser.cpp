// The F5/F6 dialogs through a scripted chooser: what they offer, what they
// print, and which person they act on.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/app_state.h"
#include "io/file_chooser.h"
#include "io_test_support.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

using FileDialogs = ChooserInTempDir;

}  // namespace

TEST_F(FileDialogs, OfferTheirFiltersAndTheSaveDefaultExtension) {
    CaptureStdout();
    openAnimationDialog();
    saveAnimationDialog();
    GetCapturedStdout();
    ASSERT_EQ(chooser.shown.size(), 2u);
    const FileDialogRequest& open = chooser.shown[0];
    EXPECT_EQ(open.kind, FileDialogKind::Open);
    ASSERT_EQ(open.filterCount, 2);
    EXPECT_STREQ(open.filters[0].name, "Text File(*.txt)");
    EXPECT_STREQ(open.filters[0].patterns, "*.txt;*.text");
    EXPECT_STREQ(open.filters[1].name, "C Files");
    EXPECT_STREQ(open.filters[1].patterns, "*.c;*.cpp");
    EXPECT_EQ(open.defaultExtension, nullptr);
    const FileDialogRequest& save = chooser.shown[1];
    EXPECT_EQ(save.kind, FileDialogKind::Save);
    ASSERT_EQ(save.filterCount, 1);
    EXPECT_STREQ(save.filters[0].name, "Text File(*.txt)");
    EXPECT_STREQ(save.filters[0].patterns, "*.txt");
    EXPECT_STREQ(save.defaultExtension, ".txt");

    EXPECT_EQ(withDefaultExtension("/tmp/walk", ".txt"), "/tmp/walk.txt");
    EXPECT_EQ(withDefaultExtension("/tmp/walk.text", ".txt"), "/tmp/walk.text");
    EXPECT_EQ(withDefaultExtension("/tmp/v1.0/walk", ".txt"), "/tmp/v1.0/walk.txt");
    EXPECT_EQ(withDefaultExtension("/tmp/walk", nullptr), "/tmp/walk");
}

TEST_F(FileDialogs, CancellingChangesNothing) {
    app.persons[0].pushPoseKeyFrame(20);
    CaptureStdout();
    EXPECT_FALSE(openAnimationDialog());
    EXPECT_FALSE(saveAnimationDialog());
    EXPECT_EQ(GetCapturedStdout(), "No File Selected\nNo File Selected\n");
    EXPECT_EQ(app.persons[0].kfaPos.numKeyFrames, 1);
    EXPECT_FALSE(app.persons[0].kfaPos.cycle);
    EXPECT_TRUE(readFile("_CODE_OUTPUT.txt").empty());
}

TEST_F(FileDialogs, ActOnThePersonSelectedWhenTheDialogCloses) {
    const std::string file = path("pose.txt");
    app.persons[1].pushPoseKeyFrame(20);
    chooser.answers = {file, file};
    chooser.during = [] { app.selectedPerson = 1; };
    CaptureStdout();
    EXPECT_TRUE(saveAnimationDialog());
    EXPECT_EQ(GetCapturedStdout(), "Open file name: " + file + "\n\nAnimation has been saved\n");
    EXPECT_NE(readFile(file).find("!numKeyFrames=1\n"), std::string::npos);

    chooser.during = [] { app.selectedPerson = 2; };
    CaptureStdout();
    EXPECT_TRUE(openAnimationDialog());
    const std::string out = GetCapturedStdout();
    EXPECT_EQ(out.rfind("Open file name: " + file + "\n\n  Robot position set\n", 0), 0u);
    EXPECT_EQ(app.persons[2].part[HEAD].kfa.numKeyFrames, 1);
    EXPECT_TRUE(app.persons[2].part[HEAD].kfa.cycle);
    EXPECT_EQ(app.persons[1].part[HEAD].kfa.numKeyFrames, 1);
    EXPECT_FALSE(app.persons[1].part[HEAD].kfa.cycle);  // the saved one is untouched
}
