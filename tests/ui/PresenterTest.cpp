// The presenter over fakes, started as the window's load would start it: the settings panel,
// the list commands and the tray.
#include <gtest/gtest.h>

#include "fakes/FakeServices.h"
#include "ui/Presenter.h"

namespace scenewright::testing {
namespace {

using enum ControlId;

class PresenterTest : public ::testing::Test {
 protected:
  void Load(const std::vector<std::string>& listFile = {}, const std::string& settings = {}) {
    system.WriteListFile(listFile);
    if (!settings.empty()) system.files.files[FakeSystem::kSettingsFile] = "[General]\r\n" + settings;
    presenter.OnLoad();
  }
  void TickAt(float now) {
    system.now = now;
    presenter.OnTimer();
  }
  static std::string Settings(const std::string& interval) {
    return "autostart=0\r\nnewonstart=0\r\nrandom=0\r\ninterval=" + interval + "\r\ncurrentindex=-1\r\n";
  }

  FakeSystem system;
  FakeView view;
  Presenter presenter{system.services(), view};
};

TEST_F(PresenterTest, IntervalRoundTripsThroughSaveAndTheNextStart) {
  // amount and unit saved, the stored interval, the amount and unit shown at the next start
  const std::tuple<const char*, ControlId, const char*, const char*, ControlId> cases[] = {
      {"1", optHours, "3600", "1", optHours},         {"90", optMinutes, "5400", "90", optMinutes},
      {"120", optMinutes, "7200", "2", optHours},     {"45", optSeconds, "45", "45", optSeconds},
      {"0", optHours, "0", "0", optSeconds},
  };
  Load();
  for (const auto& [amount, unit, stored, amountNextStart, unitNextStart] : cases) {
    SCOPED_TRACE(amount);
    presenter.OnTextChanged(txtTime, amount);
    presenter.OnOptionClick(unit);
    presenter.OnSaveClick();
    EXPECT_EQ(system.Setting("interval"), stored);
    Presenter next(system.services(), view);  // the next start, over the same files
    next.OnLoad();
    const bool on = std::string(stored) != "0";
    EXPECT_EQ(next.Control(chkChangeTime).value, on ? 1 : 0);
    EXPECT_EQ(next.Control(unitNextStart).value, 1);
    EXPECT_EQ(view.shown[txtTime], (ControlState{on, 0, amountNextStart}));
  }
}

TEST_F(PresenterTest, SaveTakesEffectAtTheNextTick) {
  Load({}, Settings("3600"));
  presenter.OnTextChanged(txtTime, "20");
  presenter.OnOptionClick(optSeconds);
  TickAt(10);  // still counting until Save
  EXPECT_EQ(presenter.Countdown(), "The wallpaper will change in 3590 seconds.");
  presenter.OnSaveClick();
  TickAt(15);  // the new interval counts the time already elapsed
  EXPECT_EQ(presenter.Countdown(), "The wallpaper will change in 5 seconds.");
}

TEST_F(PresenterTest, AnUnusableAmountKeepsTheIntervalInForce) {
  Load({}, Settings("5400"));
  presenter.OnCheckBoxClick(chkRandom, 1);
  presenter.OnCheckBoxClick(chkAutostart, 1);
  // Pasted texts; "2.5" is rounded, halves to even.
  for (std::string amount : {"", "abc", "9999999999", "2.5"}) {
    presenter.OnTextChanged(txtTime, amount);
    presenter.OnOptionClick(optSeconds);
    presenter.OnSaveClick();
    // the steps before the interval are saved
    EXPECT_EQ(system.Setting("random") + system.runValue.value_or(""), "1D:\\Tools\\Scenewright.exe") << amount;
    EXPECT_EQ(system.Setting("interval"), amount == "2.5" ? "2" : "5400");
    if (amount != "2.5") {
      EXPECT_EQ(view.shown[txtTime].text, "90");  // the interval in force, shown again
    }
  }
  Presenter next(system.services(), view);
  next.OnLoad();  // each box as saved, at the next start
  EXPECT_EQ(std::pair(next.Control(chkRandom).value, next.Control(chkNewOnStart).value), std::pair(1, 0));
}

TEST_F(PresenterTest, TicksRunInsideAddFiles) {
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

TEST_F(PresenterTest, RemoveSelectsTheNeighbourAndKeepsTheWallpaper) {
  auto pictures = system.MakePictures(4);
  Load(pictures, "autostart=0\r\nnewonstart=1\r\nrandom=0\r\ninterval=-1\r\ncurrentindex=0\r\n");
  presenter.OnListClick(1);  // the current wallpaper
  presenter.OnRemoveClick();
  EXPECT_EQ(view.rows, (std::vector<std::string>{pictures[0], pictures[2], pictures[3]}));
  EXPECT_EQ(system.files.files[FakeSystem::kListFile],
            pictures[0] + "\r\n" + pictures[2] + "\r\n" + pictures[3] + "\r\n");
  EXPECT_EQ(view.previews.back(), pictures[2]);
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x51");
  presenter.OnListClick(2);
  presenter.OnRemoveClick();  // the last row: the one above it is selected
  EXPECT_EQ(std::pair(view.selection, view.previews.back()), std::pair(1, pictures[2]));
  presenter.OnRemoveClick();
  presenter.OnRemoveClick();  // the only one
  EXPECT_EQ(system.files.files[FakeSystem::kListFile], "");
  view.dialogAnswers.push_back({pictures[3]});  // a single pick is added too
  presenter.OnAddClick();
  EXPECT_EQ(system.files.files[FakeSystem::kListFile], pictures[3] + "\r\n");
}

TEST_F(PresenterTest, AMinimisedWindowHidesInTheTrayAndItsIconBringsItBack) {
  Load();
  presenter.OnTrayIconRelease();  // shown: nothing happens
  view.state = WindowState::Minimised;
  presenter.OnTimer();
  EXPECT_FALSE(view.visible);
  presenter.OnTrayIconRelease();
  EXPECT_EQ(std::pair(view.visible, view.state), std::pair(true, WindowState::Normal));
}

TEST_F(PresenterTest, WithoutATrayIconTheWindowIsNeverHidden) {
  view.trayError = "The notification area is not available.";
  presenter.OnTimer();  // a tick while the error is shown, before the settings are read
  EXPECT_EQ(presenter.Countdown(), "Timed wallpaper changing is disabled.");
  Load({}, Settings("60"));
  EXPECT_EQ(view.messageBoxes,
            std::vector<std::string>{"Scenewright - Scenewright: The notification area is not available."});
  TickAt(0.1f);  // start-up went on
  EXPECT_EQ(view.shown[lblNextChange].text, "The wallpaper will change in 59.9 seconds.");
  view.state = WindowState::Minimised;
  presenter.OnTimer();
  EXPECT_TRUE(view.visible);
}

}  // namespace
}  // namespace scenewright::testing
