#pragma once

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"
#include "ui/Presenter.h"

namespace scenewright::testing {

// A presenter over fakes, started as the window's load would start it.
class PresenterFixture : public ::testing::Test {
 protected:
  void Load(const std::vector<std::string>& listFile = {}, const std::string& settings = {}) {
    if (!listFile.empty()) system.WriteListFile(listFile);
    if (!settings.empty()) system.files.files[FakeSystem::kSettingsFile] = "[General]\r\n" + settings;
    presenter.OnLoad();
  }
  // Starts again from the files the previous run left, as the next start would.
  void Restart() {
    presenter.OnQueryUnload();
    next.emplace(system.services(), view);
    next->OnLoad();
  }
  Presenter& Current() { return next ? *next : presenter; }
  void TickAt(float now) {
    system.clock.now = now;
    Current().OnTimer();
  }
  int Shown(ControlId id) { return Current().Control(id).value; }
  static std::string Settings(const std::string& interval) {
    return "autostart=0\r\nnewonstart=0\r\nrandom=0\r\ninterval=" + interval + "\r\ncurrentindex=-1\r\n";
  }

  FakeSystem system;
  FakeView view{system.log};
  Presenter presenter{system.services(), view};
  std::optional<Presenter> next;
};

}  // namespace scenewright::testing
