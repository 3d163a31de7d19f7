#include "ui/PresenterFixture.h"

namespace scenewright::testing {
namespace {

using ConfigurationPanelTest = PresenterFixture;

TEST_F(ConfigurationPanelTest, IntervalRoundTripsThroughSaveAndTheNextStart) {
  struct Case {
    const char* amount;
    ControlId unit;
    const char* stored;
    const char* amountNextStart;
    ControlId unitNextStart;
  };
  const Case cases[] = {
      {"1", ControlId::optHours, "3600", "1", ControlId::optHours},
      {"90", ControlId::optMinutes, "5400", "90", ControlId::optMinutes},
      {"120", ControlId::optMinutes, "7200", "2", ControlId::optHours},
      {"45", ControlId::optSeconds, "45", "45", ControlId::optSeconds},
      {"0", ControlId::optHours, "0", "0", ControlId::optSeconds},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.amount);
    FakeSystem fresh;
    FakeView freshView;
    Presenter first(fresh.services(), freshView);
    first.OnLoad();
    first.OnTextChanged(ControlId::txtTime, c.amount);
    first.OnOptionClick(c.unit);
    first.OnSaveClick();
    EXPECT_EQ(fresh.Setting("interval"), c.stored);

    Presenter second(fresh.services(), freshView);
    second.OnLoad();
    const bool on = std::string(c.stored) != "0";
    EXPECT_EQ(second.Control(ControlId::chkChangeTime).value, on ? 1 : 0);
    EXPECT_EQ(second.Control(c.unitNextStart).value, 1);
    EXPECT_EQ(freshView.shown[ControlId::txtTime], (ControlState{on, 0, c.amountNextStart}));
  }
}

TEST_F(ConfigurationPanelTest, SaveWritesTheFlagsAndTheRunValue) {
  Load({}, "autostart=0\r\nnewonstart=0\r\nrandom=2\r\ninterval=-1\r\ncurrentindex=-1\r\n");
  // A hand-edited random of 2 picks at random but shows unchecked; Save then writes 0.
  EXPECT_EQ(presenter.State().random, 2);
  EXPECT_EQ(Shown(ControlId::chkRandom), 0);
  presenter.OnCheckBoxClick(ControlId::chkAutostart, 1);
  presenter.OnSaveClick();
  EXPECT_EQ(system.Setting("autostart"), "1");
  EXPECT_EQ(system.Setting("random"), "0");
  EXPECT_EQ(system.Setting("interval"), "-1");
  EXPECT_EQ(system.runValue, "D:\\Tools\\Scenewright.exe");

  presenter.OnCheckBoxClick(ControlId::chkAutostart, 0);
  presenter.OnSaveClick();
  EXPECT_FALSE(system.runValue);
}

TEST_F(ConfigurationPanelTest, TheBoxEnablesItsControlsAtOnceAndSaveTakesEffectAtTheNextTick) {
  Load({}, Settings("3600"));
  presenter.OnCheckBoxClick(ControlId::chkChangeTime, 0);
  for (ControlId id : {ControlId::txtTime, ControlId::optHours, ControlId::optMinutes, ControlId::optSeconds}) {
    EXPECT_FALSE(view.shown[id].enabled);
  }
  TickAt(10);  // still counting until Save
  EXPECT_EQ(presenter.Countdown(), "The wallpaper will change in 3590 seconds.");
  presenter.OnSaveClick();
  TickAt(20);
  EXPECT_EQ(presenter.Countdown(), "Timed wallpaper changing is disabled.");

  // A new interval counts the time already elapsed.
  presenter.OnCheckBoxClick(ControlId::chkChangeTime, 1);
  presenter.OnTextChanged(ControlId::txtTime, "20");
  presenter.OnOptionClick(ControlId::optSeconds);
  presenter.OnSaveClick();
  TickAt(25);
  EXPECT_EQ(presenter.Countdown(), "The wallpaper will change in 5 seconds.");
}

TEST_F(ConfigurationPanelTest, AnUnusableAmountKeepsTheIntervalInForce) {
  Load({}, Settings("5400"));
  presenter.OnCheckBoxClick(ControlId::chkRandom, 1);
  for (const char* amount : {"", "abc", "9999999999"}) {
    presenter.OnTextChanged(ControlId::txtTime, amount);
    presenter.OnOptionClick(ControlId::optHours);
    presenter.OnSaveClick();
    EXPECT_EQ(system.Setting("random"), "1") << amount;  // the steps before the interval are saved
    EXPECT_EQ(system.Setting("interval"), "5400");
    EXPECT_EQ(view.shown[ControlId::txtTime].text, "90");
    EXPECT_EQ(Shown(ControlId::optMinutes), 1);
  }
  presenter.OnTextChanged(ControlId::txtTime, "2.5");  // pasted: rounded, halves to even
  presenter.OnOptionClick(ControlId::optSeconds);
  presenter.OnSaveClick();
  EXPECT_EQ(system.Setting("interval"), "2");
}

TEST_F(ConfigurationPanelTest, TheAmountBoxTakesDigitsAndBackspaceOnly) {
  for (int key = 0; key < 256; ++key) {
    EXPECT_EQ(presenter.OnKeyPress(ControlId::txtTime, key), key == 8 || (key >= '0' && key <= '9')) << key;
  }
}

}  // namespace
}  // namespace scenewright::testing
