#include "ui/PresenterFixture.h"

namespace scenewright::testing {
namespace {

using TrayAndWindowTest = PresenterFixture;

constexpr std::uint32_t kLeftButtonUp = 514;

TEST_F(TrayAndWindowTest, TheRecordCarriesTheTipPaddedWithSpaces) {
  Load();
  ASSERT_TRUE(view.trayAdded);
  const TrayRecord& record = *view.trayAdded;
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, 0x200u);
  EXPECT_EQ(std::string(record.szTip.data(), 12), std::string("Scenewright\0", 12));
  EXPECT_EQ(std::string(record.szTip.data() + 12, 52), std::string(52, ' '));
  EXPECT_EQ(record.Tip(), "Scenewright");
}

TEST_F(TrayAndWindowTest, MinimisedHidesAtTheNextTickAndALeftReleaseRestores) {
  Load();
  view.state = WindowState::Maximised;
  presenter.OnTimer();
  EXPECT_TRUE(view.visible);

  view.state = WindowState::Minimised;
  presenter.OnTimer();
  EXPECT_FALSE(view.visible);

  for (std::uint32_t other : {512u, 513u, 516u, 517u, 515u}) presenter.OnTrayMessage(other);
  EXPECT_FALSE(view.visible);
  presenter.OnTrayMessage(kLeftButtonUp);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.state, WindowState::Normal);

  // Shown and not minimised: a release does nothing.
  view.state = WindowState::Maximised;
  presenter.OnTrayMessage(kLeftButtonUp);
  EXPECT_EQ(view.state, WindowState::Maximised);
}

TEST_F(TrayAndWindowTest, WithoutATrayIconTheWindowIsNeverHidden) {
  view.trayError = "The notification area is not available.";
  Load();
  ASSERT_EQ(view.messageBoxes.size(), 1u);
  EXPECT_EQ(view.messageBoxes[0].first, "The notification area is not available.");
  EXPECT_EQ(view.messageBoxes[0].second, "Scenewright - Scenewright");
  EXPECT_EQ(system.files.files.count(FakeSystem::kSettingsFile), 1u);  // start-up went on

  view.state = WindowState::Minimised;
  presenter.OnTimer();
  EXPECT_TRUE(view.visible);
}

TEST_F(TrayAndWindowTest, ShutDownSavesTheIndexOnceAndRemovesTheIcon) {
  auto pictures = system.MakePictures(3);
  Load(pictures);
  EXPECT_EQ(presenter.State().currentindex, 0);
  view.state = WindowState::Minimised;
  presenter.OnTimer();  // hidden in the tray when the session ends
  system.log.clear();
  presenter.OnQueryUnload();
  presenter.OnQueryUnload();
  EXPECT_EQ(system.log, (CallLog{"write currentindex=0", "tray remove"}));
  EXPECT_EQ(system.Setting("currentindex"), "0");
}

TEST_F(TrayAndWindowTest, TicksBeforeStartUpFindTimedChangesOff) {
  // A tick while the tray error is shown, before the settings are read.
  view.trayError = "failed";
  presenter.OnTimer();
  EXPECT_EQ(presenter.Countdown(), "Timed wallpaper changing is disabled.");
  Load({}, Settings("60"));
  TickAt(0.1f);
  EXPECT_EQ(presenter.Countdown(), "The wallpaper will change in 59.9 seconds.");
  EXPECT_EQ(view.shown[ControlId::lblNextChange].text, presenter.Countdown());
}

}  // namespace
}  // namespace scenewright::testing
