#include "ui/PresenterFixture.h"

namespace scenewright::testing {
namespace {

using TrayAndWindowTest = PresenterFixture;

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

}  // namespace
}  // namespace scenewright::testing
