#include "ui/PresenterFixture.h"

namespace scenewright::testing {
namespace {

using TrayAndWindowTest = PresenterFixture;

TEST_F(TrayAndWindowTest, MinimisedHidesAtTheNextTickAndAReleaseOnTheIconRestores) {
  Load();
  for (auto [state, visible] : {std::pair{WindowState::Maximised, true}, {WindowState::Minimised, false}}) {
    view.state = state;
    presenter.OnTimer();
    EXPECT_EQ(view.visible, visible);
  }
  presenter.OnTrayIconRelease();
  EXPECT_TRUE(view.visible && view.state == WindowState::Normal);
  view.state = WindowState::Maximised;  // shown: a release does nothing
  presenter.OnTrayIconRelease();
  EXPECT_EQ(view.state, WindowState::Maximised);
}

TEST_F(TrayAndWindowTest, WithoutATrayIconTheWindowIsNeverHidden) {
  view.trayError = "The notification area is not available.";
  presenter.OnTimer();  // a tick while the error is shown, before the settings are read
  EXPECT_EQ(presenter.Countdown(), "Timed wallpaper changing is disabled.");
  Load({}, Settings("60"));
  EXPECT_EQ(view.messageBoxes,
            std::vector<std::string>{"Scenewright - Scenewright: The notification area is not available."});
  TickAt(0.1f);  // start-up went on
  EXPECT_EQ(view.shown[ControlId::lblNextChange].text, "The wallpaper will change in 59.9 seconds.");
  view.state = WindowState::Minimised;
  presenter.OnTimer();
  EXPECT_TRUE(view.visible);
}

TEST_F(TrayAndWindowTest, ShutDownSavesTheIndexOnceAndRemovesTheIcon) {
  Load(system.MakePictures(3));
  EXPECT_EQ(view.trayIcons, 1);
  presenter.OnQueryUnload();
  system.profile.WriteIniValue(FakeSystem::kSettingsFile, "General", "currentindex", "7");
  presenter.OnQueryUnload();
  EXPECT_EQ(system.Setting("currentindex"), "7");
  EXPECT_EQ(view.trayIcons, 0);
}

}  // namespace
}  // namespace scenewright::testing
