#include "ui/PresenterFixture.h"

namespace scenewright::testing {
namespace {

using ConfigurationPanelTest = PresenterFixture;
using enum ControlId;

TEST_F(ConfigurationPanelTest, IntervalRoundTripsThroughSaveAndTheNextStart) {
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
    Presenter second(system.services(), view);
    second.OnLoad();
    const bool on = std::string(stored) != "0";
    EXPECT_EQ(second.Control(chkChangeTime).value, on ? 1 : 0);
    EXPECT_EQ(second.Control(unitNextStart).value, 1);
    EXPECT_EQ(view.shown[txtTime], (ControlState{on, 0, amountNextStart}));
  }
}

TEST_F(ConfigurationPanelTest, SaveTakesEffectAtTheNextTick) {
  Load({}, Settings("3600"));
  presenter.OnTextChanged(txtTime, "20");
  presenter.OnOptionClick(optSeconds);
  TickAt(10);  // still counting until Save
  EXPECT_EQ(presenter.Countdown(), "The wallpaper will change in 3590 seconds.");
  presenter.OnSaveClick();
  TickAt(15);  // the new interval counts the time already elapsed
  EXPECT_EQ(presenter.Countdown(), "The wallpaper will change in 5 seconds.");
}

TEST_F(ConfigurationPanelTest, AnUnusableAmountKeepsTheIntervalInForce) {
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
  Presenter second(system.services(), view);
  second.OnLoad();  // each box as saved, at the next start
  EXPECT_EQ(std::pair(second.Control(chkRandom).value, second.Control(chkNewOnStart).value), std::pair(1, 0));
}

}  // namespace
}  // namespace scenewright::testing
