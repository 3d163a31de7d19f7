#include "ui/Presenter.h"

#include "storage/Settings.h"
#include "storage/StartAtLogon.h"
#include "storage/TextConversion.h"

namespace scenewright {

namespace {

constexpr ControlId kIntervalControls[] = {ControlId::txtTime, ControlId::optHours, ControlId::optMinutes,
                                           ControlId::optSeconds};
constexpr ControlId kUnitOptions[] = {ControlId::optHours, ControlId::optMinutes, ControlId::optSeconds};
constexpr int kBackspace = 8;

}  // namespace

void Presenter::ShowSettings() {
  if (state_.autostart == 1) SetValue(ControlId::chkAutostart, 1);
  if (state_.newonstart == 1) SetValue(ControlId::chkNewOnStart, 1);
  if (state_.random == 1) SetValue(ControlId::chkRandom, 1);
  ShowInterval(state_.interval);
}

void Presenter::ShowInterval(std::int32_t interval) {
  if (interval < 1) {
    ChooseOption(ControlId::optSeconds);
    SetValue(ControlId::chkChangeTime, 0);
    SetText(ControlId::txtTime, "0");
    ApplyChangeTimeEnabling();
    return;
  }
  SetValue(ControlId::chkChangeTime, 1);
  ApplyChangeTimeEnabling();  // the box's own click handling, raised by checking it
  if (interval % 3600 == 0) {
    SetText(ControlId::txtTime, std::to_string(interval / 3600));
    ChooseOption(ControlId::optHours);
  } else if (interval % 60 == 0) {
    SetText(ControlId::txtTime, std::to_string(interval / 60));
    ChooseOption(ControlId::optMinutes);
  } else {
    SetText(ControlId::txtTime, std::to_string(interval));
    ChooseOption(ControlId::optSeconds);
  }
}

void Presenter::ApplyChangeTimeEnabling() {
  const bool enabled = Control(ControlId::chkChangeTime).value != 0;
  for (ControlId id : kIntervalControls) SetEnabled(id, enabled);
}

void Presenter::ChooseOption(ControlId id) {
  for (ControlId option : kUnitOptions) SetValue(option, option == id ? 1 : 0);
}

void Presenter::OnCheckBoxClick(ControlId id, int value) {
  // The view already shows the new value; only the record follows it.
  controls_[Index(id)].value = value;
  if (id == ControlId::chkChangeTime) ApplyChangeTimeEnabling();
}

void Presenter::OnOptionClick(ControlId id) {
  for (ControlId option : kUnitOptions) controls_[Index(option)].value = option == id ? 1 : 0;
}

void Presenter::OnTextChanged(ControlId id, const std::string& text) { controls_[Index(id)].text = text; }

bool Presenter::OnKeyPress(ControlId id, int characterCode) {
  if (id != ControlId::txtTime) return true;
  // Backspace passes so that a typed digit can be corrected.
  return characterCode == kBackspace || (characterCode >= '0' && characterCode <= '9');
}

std::optional<std::int32_t> Presenter::IntervalFromFrame() {
  auto amount = ParseDecimal(Control(ControlId::txtTime).text, services_.locale.DecimalSeparator());
  if (!amount) return std::nullopt;
  if (Control(ControlId::optHours).value == 1) return RoundToInt32(*amount * 3600);
  if (Control(ControlId::optMinutes).value == 1) return RoundToInt32(*amount * 60);
  return RoundToInt32(*amount);
}

void Presenter::OnSaveClick() {
  const std::string& file = dataFiles_.settings;
  ProfileFile& profile = services_.profile;

  state_.autostart = Control(ControlId::chkAutostart).value == 1 ? 1 : 0;
  WriteSetting(profile, file, kKeyAutostart, state_.autostart);
  if (state_.autostart == 1) {
    RegisterStartAtLogon(services_.registry, services_.program);
  } else {
    UnregisterStartAtLogon(services_.registry);
  }

  state_.newonstart = Control(ControlId::chkNewOnStart).value == 1 ? 1 : 0;
  WriteSetting(profile, file, kKeyNewOnStart, state_.newonstart);

  state_.random = Control(ControlId::chkRandom).value == 1 ? 1 : 0;
  WriteSetting(profile, file, kKeyRandom, state_.random);

  if (Control(ControlId::chkChangeTime).value == 1) {
    auto interval = IntervalFromFrame();
    if (!interval) {
      // An amount that is empty, not a number or too large: the interval in force stays,
      // and the frame shows it again.
      ShowInterval(state_.interval);
      return;
    }
    state_.interval = *interval;
  } else {
    state_.interval = -1;
  }
  WriteSetting(profile, file, kKeyInterval, state_.interval);
}

}  // namespace scenewright
