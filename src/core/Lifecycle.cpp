#include "core/Lifecycle.h"

#include "storage/ListFile.h"
#include "storage/Settings.h"

namespace scenewright {

namespace {

void Run(const std::function<void()>& step) {
  if (step) step();
}

}  // namespace

void RunStartUp(RotationState& state, WallpaperList& list, const Services& services,
                const DataFiles& files, const StartUpSteps& steps) {
  Run(steps.addTrayIcon);

  state.lasttick = services.clock.SecondsSinceMidnight();
  state.elapsed = 0;

  const std::string& settingsFile = files.settings;
  // A program killed midway leaves its temporary files beside the files it was replacing:
  // the settings, the list, and the bitmap (with the staged picture, as large as a photograph).
  services.files.RemoveLeftovers(files.settings);
  for (const auto& bitmap : services.desktop.BitmapFileCandidates()) services.files.RemoveLeftovers(bitmap);
  if (!services.profile.FileExists(settingsFile)) WriteDefaultSettings(services.profile, settingsFile);

  const StoredSettings stored = ReadSettings(services.profile, settingsFile);
  state.autostart = stored.autostart;
  state.newonstart = stored.newonstart;
  state.random = stored.random;
  state.interval = stored.interval;
  state.currentindex = stored.currentindex;

  LoadList(services.files, files.list, list);

  if (state.autostart == 1) Run(steps.registerRunValue);
  Run(steps.showSettings);

  if (list.Count() - 1 < state.currentindex) state.currentindex = static_cast<std::int16_t>(list.Count() - 1);

  if (state.newonstart == 1 && list.Count() > 0) Run(steps.startUpChange);
}

void RunShutDown(const RotationState& state, const Services& services, const DataFiles& files,
                 const std::function<void()>& removeTrayIcon) {
  WriteSetting(services.profile, files.settings, kKeyCurrentIndex, state.currentindex);
  Run(removeTrayIcon);
}

}  // namespace scenewright
