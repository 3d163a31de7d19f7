#include "core/Lifecycle.h"

#include "core/RotationClock.h"
#include "storage/ListFile.h"
#include "storage/Settings.h"

namespace scenewright {

namespace {

void Run(const std::function<void()>& step) {
  if (step) step();
}

void TakeSettings(RotationState& state, const StoredSettings& stored) {
  state.autostart = stored.autostart;
  state.newonstart = stored.newonstart;
  state.random = stored.random;
  state.interval = stored.interval;
  state.currentindex = stored.currentindex;
}

// An index past the list's end (entries removed by hand) points at its last entry.
void ClampIndex(RotationState& state, const WallpaperList& list) {
  if (list.Count() - 1 < state.currentindex) state.currentindex = static_cast<std::int16_t>(list.Count() - 1);
}

bool ChangesAtStart(const RotationState& state, const WallpaperList& list) {
  return state.newonstart == 1 && list.Count() > 0;
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

  TakeSettings(state, ReadSettings(services.profile, settingsFile));

  LoadList(services.files, files.list, list);

  if (state.autostart == 1) Run(steps.registerRunValue);
  Run(steps.showSettings);

  ClampIndex(state, list);
  if (ChangesAtStart(state, list)) Run(steps.startUpChange);
}

std::optional<std::string> ForeseeStartUpPicture(FileSystem& files, ProfileFile& profile, ProgramInfo& program) {
  const std::optional<DataFiles> data = FindDataFiles(files, program);
  if (!data) return std::nullopt;
  RotationState state;
  TakeSettings(state, ReadSettings(profile, data->settings));
  if (state.newonstart != 1) return std::nullopt;  // a long list is not read for nothing
  WallpaperList list;
  if (const auto text = files.ReadFile(data->list)) ListFromText(*text, list);
  ClampIndex(state, list);
  if (!ChangesAtStart(state, list)) return std::nullopt;
  UniformRandom random;  // the window's own starts afresh too
  ChooseNextIndex(state, list, random);
  return list.At(state.currentindex);
}

void RunShutDown(const RotationState& state, const Services& services, const DataFiles& files,
                 const std::function<void()>& removeTrayIcon) {
  WriteSetting(services.profile, files.settings, kKeyCurrentIndex, state.currentindex);
  Run(removeTrayIcon);
}

}  // namespace scenewright
