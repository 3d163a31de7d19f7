#include "ui/PresenterFixture.h"

namespace scenewright::testing {
namespace {

using ConfigurationPanelTest = PresenterFixture;

TEST_F(ConfigurationPanelTest, IntervalRoundTripsThroughSaveAndTheNextStart) {
  struct Case {
    const char* amount;
    ControlId unit;
    const char* stored;
    int boxNextStart;
    const char* amountNextStart;
    ControlId unitNextStart;
  };
  const Case cases[] = {
      {"1", ControlId::optHours, "3600", 1, "1", ControlId::optHours},
      {"90", ControlId::optMinutes, "5400", 1, "90", ControlId::optMinutes},
      {"120", ControlId::optMinutes, "7200", 1, "2", ControlId::optHours},
      {"45", ControlId::optSeconds, "45", 1, "45", ControlId::optSeconds},
      {"0", ControlId::optHours, "0", 0, "0", ControlId::optSeconds},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.amount);
    FakeSystem fresh;
    FakeView freshView{fresh.log};
    Presenter first(fresh.services(), freshView);
    first.OnLoad();
    first.OnCheckBoxClick(ControlId::chkChangeTime, 1);
    first.OnTextChanged(ControlId::txtTime, c.amount);
    first.OnOptionClick(c.unit);
    first.OnSaveClick();
    EXPECT_EQ(fresh.Setting("interval"), c.stored);
    first.OnQueryUnload();

    Presenter second(fresh.services(), freshView);
    second.OnLoad();
    EXPECT_EQ(second.Control(ControlId::chkChangeTime).value, c.boxNextStart);
    EXPECT_EQ(second.Control(ControlId::txtTime).text, c.amountNextStart);
    EXPECT_EQ(second.Control(c.unitNextStart).value, 1);
    EXPECT_EQ(second.Control(ControlId::txtTime).enabled, c.boxNextStart == 1);
    // The view was told exactly what the presenter holds.
    EXPECT_EQ(freshView.shown[ControlId::txtTime], second.Control(ControlId::txtTime));
  }
}

TEST_F(ConfigurationPanelTest, SaveWritesTheFlagsAndTheRunValue) {
  Load({}, "autostart=0\r\nnewonstart=0\r\nrandom=2\r\ninterval=-1\r\ncurrentindex=-1\r\n");
  // A hand-edited random of 2 picks at random but shows unchecked; Save then writes 0.
  EXPECT_EQ(presenter.State().random, 2);
  EXPECT_EQ(Shown(ControlId::chkRandom), 0);
  EXPECT_FALSE(presenter.Control(ControlId::txtTime).enabled);
  EXPECT_EQ(Shown(ControlId::optSeconds), 1);

  presenter.OnCheckBoxClick(ControlId::chkAutostart, 1);
  presenter.OnCheckBoxClick(ControlId::chkNewOnStart, 1);
  presenter.OnSaveClick();
  EXPECT_EQ(system.Setting("autostart"), "1");
  EXPECT_EQ(system.Setting("newonstart"), "1");
  EXPECT_EQ(system.Setting("random"), "0");
  EXPECT_EQ(system.Setting("interval"), "-1");
  EXPECT_EQ(presenter.State().random, 0);
  EXPECT_EQ(system.registry.values[FakeSystem::kRunValue], "D:\\Tools\\Scenewright.exe");

  presenter.OnCheckBoxClick(ControlId::chkAutostart, 0);
  presenter.OnSaveClick();
  EXPECT_EQ(system.Setting("autostart"), "0");
  EXPECT_TRUE(system.registry.values.empty());
}

TEST_F(ConfigurationPanelTest, TheBoxEnablesItsControlsAtOnceAndSaveTakesEffectAtTheNextTick) {
  system.clock.now = 0;
  Load({}, Settings("3600"));
  presenter.OnCheckBoxClick(ControlId::chkChangeTime, 0);
  for (ControlId id : {ControlId::txtTime, ControlId::optHours, ControlId::optMinutes, ControlId::optSeconds}) {
    EXPECT_FALSE(presenter.Control(id).enabled);
    EXPECT_FALSE(view.shown[id].enabled);
  }
  TickAt(10);  // still counting until Save
  EXPECT_EQ(presenter.Countdown(), "The wallpaper will change in 3590 seconds.");
  presenter.OnSaveClick();
  TickAt(20);
  EXPECT_EQ(presenter.Countdown(), "Timed wallpaper changing is disabled.");

  // A new interval counts the time already elapsed.
  presenter.OnCheckBoxClick(ControlId::chkChangeTime, 1);
  EXPECT_TRUE(presenter.Control(ControlId::txtTime).enabled);
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
    SCOPED_TRACE(amount);
    presenter.OnTextChanged(ControlId::txtTime, amount);
    presenter.OnOptionClick(ControlId::optHours);
    presenter.OnSaveClick();
    EXPECT_EQ(system.Setting("random"), "1");  // the steps before the interval are saved
    EXPECT_EQ(system.Setting("interval"), "5400");
    EXPECT_EQ(presenter.State().interval, 5400);
    EXPECT_EQ(presenter.Control(ControlId::txtTime).text, "90");
    EXPECT_EQ(view.shown[ControlId::txtTime].text, "90");
    EXPECT_EQ(Shown(ControlId::optMinutes), 1);
  }
  // A pasted fraction is rounded, halves to even.
  presenter.OnTextChanged(ControlId::txtTime, "2.5");
  presenter.OnOptionClick(ControlId::optSeconds);
  presenter.OnSaveClick();
  EXPECT_EQ(system.Setting("interval"), "2");
}

TEST_F(ConfigurationPanelTest, TheAmountBoxTakesDigitsAndBackspaceOnly) {
  Load();
  for (int digit = '0'; digit <= '9'; ++digit) EXPECT_TRUE(presenter.OnKeyPress(ControlId::txtTime, digit));
  EXPECT_TRUE(presenter.OnKeyPress(ControlId::txtTime, 8));
  for (int other : std::initializer_list<int>{'a', '-', '.', ',', ' ', 22, 13, 127, '/', ':'}) {
    EXPECT_FALSE(presenter.OnKeyPress(ControlId::txtTime, other)) << other;
  }
}

}  // namespace
}  // namespace scenewright::testing
