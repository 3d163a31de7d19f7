#include "ui/PresenterFixture.h"

namespace scenewright::testing {
namespace {

using TrayAndWindowTest = PresenterFixture;

constexpr std::uint32_t kLeftButtonUp = 514;

TEST_F(TrayAndWindowTest, MinimisedHidesAtTheNextTickAndALeftReleaseRestores) {
  Load();
  view.state = WindowState::Maximised;
  presenter.OnTimer();
  EXPECT_TRUE(view.visible);
  view.state = WindowState::Minimised;
  presenter.OnTimer();
  EXPECT_FALSE(view.visible);

  for (std::uint32_t other : {512u, 513u, 515u, 516u, 517u}) presenter.OnTrayMessage(other);
  EXPECT_FALSE(view.visible);
  presenter.OnTrayMessage(kLeftButtonUp);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.state, WindowState::Normal);
  view.state = WindowState::Maximised;  // shown and not minimised: a release does nothing
  presenter.OnTrayMessage(kLeftButtonUp);
  EXPECT_EQ(view.state, WindowState::Maximised);
}

TEST_F(TrayAndWindowTest, WithoutATrayIconTheWindowIsNeverHidden) {
  view.trayError = "The notification area is not available.";
  presenter.OnTimer();  // a tick while the error is shown, before the settings are read
  EXPECT_EQ(presenter.Countdown(), "Timed wallpaper changing is disabled.");
  Load({}, Settings("60"));
  EXPECT_EQ(view.messageBoxes,
            std::vector<std::string>{"Scenewright - Scenewright: The notification area is not available."});
  EXPECT_TRUE(system.files.files.count(FakeSystem::kSettingsFile));  // start-up went on
  TickAt(0.1f);
  EXPECT_EQ(view.shown[ControlId::lblNextChange].text, "The wallpaper will change in 59.9 seconds.");

  view.state = WindowState::Minimised;
  presenter.OnTimer();
  EXPECT_TRUE(view.visible);
}

TEST_F(TrayAndWindowTest, ShutDownSavesTheIndexOnceAndRemovesTheIcon) {
  Load(system.MakePictures(3));
  EXPECT_EQ(view.trayIcons, 1);
  presenter.OnQueryUnload();
  EXPECT_EQ(system.Setting("currentindex"), "0");
  system.profile.WriteIniValue(FakeSystem::kSettingsFile, "General", "currentindex", "7");
  presenter.OnQueryUnload();
  EXPECT_EQ(system.Setting("currentindex"), "7");
  EXPECT_EQ(view.trayIcons, 0);
}

}  // namespace
}  // namespace scenewright::testing
