#include "ui/Presenter.h"

#include "core/Lifecycle.h"
#include "core/RotationClock.h"
#include "storage/StartAtLogon.h"

namespace scenewright {

Presenter::Presenter(const Services& services, FormView& view) : services_(services), view_(view) {
  for (const auto& spec : kControls) controls_[Index(spec.id)].text = std::string(spec.text);
}

void Presenter::OnLoad() {
  StartUpSteps steps{
      .addTrayIcon = [this] { AddTrayIcon(); },
      .registerRunValue = [this] { RegisterStartAtLogon(services_.registry, services_.program); },
      .showSettings = [this] { ShowSettings(); },
      .startUpChange = [this] { ApplyNextWallpaper(state_, list_, services_, random_); },
  };
  dataFiles_ = ChooseDataFiles(services_.files, services_.program);
  RunStartUp(state_, list_, services_, dataFiles_, steps);
  view_.ShowListRows(list_.Entries());
}

void Presenter::OnQueryUnload() {
  // The window, the session's end and a signal may all ask; the index is saved once.
  if (shutDown_) return;
  shutDown_ = true;
  RunShutDown(state_, services_, dataFiles_, [this] { view_.RemoveTrayIcon(); });
}

void Presenter::OnTimer() {
  SetText(ControlId::lblNextChange,
          RotationTick(state_, list_, services_, random_, [this] { HideIfMinimised(); }));
}

void Presenter::OnNextClick() { RequestNextWallpaper(state_); }

void Presenter::SetControl(ControlId id, const ControlState& state) {
  ControlState& shown = controls_[Index(id)];
  if (shown == state) return;
  shown = state;
  view_.ShowControl(id, shown);
}

void Presenter::SetEnabled(ControlId id, bool enabled) {
  ControlState state = Control(id);
  state.enabled = enabled;
  SetControl(id, state);
}

void Presenter::SetValue(ControlId id, int value) {
  ControlState state = Control(id);
  state.value = value;
  SetControl(id, state);
}

void Presenter::SetText(ControlId id, const std::string& text) {
  ControlState state = Control(id);
  state.text = text;
  SetControl(id, state);
}

}  // namespace scenewright
