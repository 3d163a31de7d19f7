#pragma once

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"
#include "ui/Presenter.h"

namespace scenewright::testing {

// A presenter over fakes, started as the window's load would start it.
class PresenterFixture : public ::testing::Test {
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

}  // namespace scenewright::testing
