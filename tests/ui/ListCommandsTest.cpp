#include "ui/PresenterFixture.h"

#include <algorithm>

namespace scenewright::testing {
namespace {

using ListCommandsTest = PresenterFixture;
using namespace std::string_literals;

OpenDialogResult Picked(std::string text) { return {.ok = true, .text = std::move(text), .paths = {}}; }

TEST_F(ListCommandsTest, AddFilesJoinsTheDialogsAnswerAndRewritesTheList) {
  Load({}, Settings("-1"));
  view.dialogAnswers.push_back(Picked("D:\\Pictures\\one.jpg"));
  presenter.OnAddClick();
  EXPECT_EQ(system.files.files[FakeSystem::kListFile], "D:\\Pictures\\one.jpg\r\n");

  view.dialogAnswers.push_back(Picked("D:\\Pictures\0a.jpg\0b.gif\0c.bmp"s));
  presenter.OnAddClick();
  const std::vector<std::string> expected{"D:\\Pictures\\one.jpg", "D:\\Pictures\\a.jpg", "D:\\Pictures\\b.gif",
                                          "D:\\Pictures\\c.bmp"};
  EXPECT_EQ(presenter.List().Entries(), expected);
  EXPECT_EQ(view.rows, expected);
  EXPECT_EQ(view.pendingEventRuns, 3);
  EXPECT_EQ(system.files.files[FakeSystem::kListFile],
            "D:\\Pictures\\one.jpg\r\nD:\\Pictures\\a.jpg\r\nD:\\Pictures\\b.gif\r\nD:\\Pictures\\c.bmp\r\n");

  // A drive root is joined as the dialog gives it, doubled backslash and all.
  view.dialogAnswers.push_back(Picked("E:\\\0x.jpg\0y.jpg"s));
  presenter.OnAddClick();
  EXPECT_EQ(presenter.List().At(4), "E:\\\\x.jpg");

  // The chooser is asked for room for any selection, with the program's title and filter.
  ASSERT_EQ(view.dialogRequests.size(), 3u);
  EXPECT_EQ(view.dialogRequests[0].title, "Open");
  EXPECT_EQ(view.dialogRequests[0].flags, 0xC0A04u);
  EXPECT_GE(view.dialogRequests[0].returnCapacity, 65536u);
}

TEST_F(ListCommandsTest, CancelAndEmptyAnswersChangeNothing) {
  Load({"D:\\x.jpg"}, Settings("-1"));
  const int writesBefore = system.files.replaceCount;
  view.dialogAnswers.push_back({});
  presenter.OnAddClick();
  view.dialogAnswers.push_back(Picked(""));
  presenter.OnAddClick();
  EXPECT_EQ(presenter.List().Count(), 1);
  EXPECT_EQ(system.files.replaceCount, writesBefore);
}

TEST_F(ListCommandsTest, AChooserOfFullPathsAppendsThemInItsOrder) {
  Load({}, Settings("-1"));
  view.dialogAnswers.push_back({.ok = true, .text = {}, .paths = {"/home/u/b.jpg", "/home/u/a b.gif"}});
  presenter.OnAddClick();
  EXPECT_EQ(presenter.List().Entries(), (std::vector<std::string>{"/home/u/b.jpg", "/home/u/a b.gif"}));
  EXPECT_EQ(view.pendingEventRuns, 2);
}

TEST_F(ListCommandsTest, TicksRunInsideAddFiles) {
  auto pictures = system.MakePictures(1);
  Load({pictures[0]}, Settings("1"));
  system.clock.now = 0;
  // Each pending-events run lets the timer fire two seconds later.
  view.onPendingEvents = [&] { TickAt(system.clock.now + 2); };
  view.dialogAnswers.push_back(Picked("D:\\Pictures\0a.jpg\0b.jpg"s));
  presenter.OnAddClick();
  // The second tick already sees the first added entry and moves on to it.
  EXPECT_EQ(std::count(system.log.begin(), system.log.end(), "load " + pictures[0]), 1);
  EXPECT_EQ(std::count(system.log.begin(), system.log.end(), "load D:\\Pictures\\a.jpg"), 1);
  EXPECT_EQ(presenter.State().currentindex, 1);
  EXPECT_EQ(presenter.List().Count(), 3);
}

TEST_F(ListCommandsTest, RemoveSelectsTheNeighbourAndPreviewsIt) {
  auto pictures = system.MakePictures(3);
  Load(pictures, Settings("-1"));

  presenter.OnRemoveClick();  // nothing selected: list unchanged, file still rewritten
  EXPECT_EQ(presenter.List().Count(), 3);
  EXPECT_EQ(system.files.replaceCount, 1);

  presenter.OnListClick(1);  // the middle one
  presenter.OnRemoveClick();
  EXPECT_EQ(presenter.List().Entries(), (std::vector<std::string>{pictures[0], pictures[2]}));
  EXPECT_EQ(presenter.Selection(), 1);
  EXPECT_EQ(view.selection, 1);
  EXPECT_EQ(view.previews.back(), pictures[2]);

  presenter.OnRemoveClick();  // now the last one
  EXPECT_EQ(presenter.Selection(), 0);
  EXPECT_EQ(view.previews.back(), pictures[0]);

  const auto previewsBefore = view.previews.size();
  presenter.OnRemoveClick();  // the only one
  EXPECT_EQ(presenter.List().Count(), 0);
  EXPECT_EQ(presenter.Selection(), -1);
  EXPECT_EQ(view.previews.size(), previewsBefore);  // no click: the preview stays
  EXPECT_EQ(system.files.files[FakeSystem::kListFile], "");
  EXPECT_TRUE(view.rows.empty());
}

TEST_F(ListCommandsTest, RemovingTheCurrentWallpaperKeepsIt) {
  auto pictures = system.MakePictures(3);
  Load(pictures, "autostart=0\r\nnewonstart=1\r\nrandom=0\r\ninterval=-1\r\ncurrentindex=1\r\n");
  ASSERT_EQ(presenter.State().currentindex, 2);
  presenter.OnListClick(2);
  presenter.OnRemoveClick();
  EXPECT_EQ(presenter.State().currentindex, 2);
  EXPECT_EQ(system.desktop.setCount, 1);
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x52");
}

TEST_F(ListCommandsTest, SwitchRestartsTheIntervalAndTheNextChangeFollowsIt) {
  auto pictures = system.MakePictures(10);
  system.clock.now = 1000;
  Load(pictures, Settings("60"));
  presenter.OnListClick(4);
  EXPECT_EQ(view.previews.back(), pictures[4]);
  EXPECT_EQ(system.desktop.setCount, 0);  // a preview touches nothing else

  TickAt(1030);
  presenter.OnListDoubleClick();
  EXPECT_EQ(presenter.State().currentindex, 4);
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x54");
  TickAt(1030.1f);
  EXPECT_EQ(presenter.Countdown(), "The wallpaper will change in 59.9 seconds.");
  TickAt(1090.1f);
  EXPECT_EQ(presenter.State().currentindex, 5);
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x55");
}

TEST_F(ListCommandsTest, DoubleClickWithoutSelectionAndUnloadablePreviewDoNothing) {
  auto pictures = system.MakePictures(2);
  Load(pictures, Settings("-1"));
  presenter.OnListDoubleClick();
  EXPECT_EQ(system.desktop.setCount, 0);
  EXPECT_EQ(presenter.State().currentindex, -1);

  presenter.OnListClick(0);
  view.unpreviewable.insert(pictures[1]);
  presenter.OnListClick(1);
  EXPECT_EQ(view.previews, (std::vector<std::string>{pictures[0]}));
}

}  // namespace
}  // namespace scenewright::testing
