#include "ui/PresenterFixture.h"

namespace scenewright::testing {
namespace {

using ListCommandsTest = PresenterFixture;

TEST_F(ListCommandsTest, TicksRunInsideAddFiles) {
  auto pictures = system.MakePictures(1);
  Load(pictures, Settings("1"));
  view.onPendingEvents = [&] { TickAt(system.now + 2); };  // the timer fires between additions
  view.dialogAnswers.push_back({"D:\\Pictures\\a.jpg", "D:\\Pictures\\b.jpg"});
  presenter.OnAddClick();
  // The second tick already sees the first added entry and moves on to it.
  EXPECT_EQ(system.loads, (std::vector<std::string>{pictures[0], "D:\\Pictures\\a.jpg"}));
  presenter.OnNextClick();  // Next Wallpaper: the next tick changes, long before the interval is over
  TickAt(system.now + 0.1f);
  EXPECT_EQ(system.loads.back(), "D:\\Pictures\\b.jpg");
}

TEST_F(ListCommandsTest, RemoveSelectsTheNeighbourAndKeepsTheWallpaper) {
  auto pictures = system.MakePictures(3);
  Load(pictures, "autostart=0\r\nnewonstart=1\r\nrandom=0\r\ninterval=-1\r\ncurrentindex=0\r\n");
  presenter.OnListClick(1);  // the current wallpaper
  presenter.OnRemoveClick();
  EXPECT_EQ(view.rows, (std::vector<std::string>{pictures[0], pictures[2]}));
  EXPECT_EQ(system.files.files[FakeSystem::kListFile], pictures[0] + "\r\n" + pictures[2] + "\r\n");
  EXPECT_EQ(view.previews.back(), pictures[2]);
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x51");
  presenter.OnRemoveClick();  // now the last row
  EXPECT_EQ(view.selection, 0);
  presenter.OnRemoveClick();  // the only one
  EXPECT_EQ(system.files.files[FakeSystem::kListFile], "");
}

}  // namespace
}  // namespace scenewright::testing
