#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/RotationState.h"
#include "storage/WallpaperList.h"
#include "platform/Services.h"
#include "storage/DataFiles.h"

namespace scenewright {

// The start-up steps the window supplies; each runs at its fixed place in the order.
struct StartUpSteps {
  std::function<void()> addTrayIcon;       // first of all
  std::function<void()> registerRunValue;  // after the list is loaded, when autostart is 1
  std::function<void()> showSettings;      // then
  std::function<void()> startUpChange;     // last, when newonstart is 1 and the list is not empty
};

// Brings the state into being: the tray icon, the clock, the first-run defaults, the five
// settings, the list, the Run value, the configuration display, the index clamp and the
// start-up change, in that order.
void RunStartUp(RotationState& state, WallpaperList& list, const Services& services,
                const DataFiles& files, const StartUpSteps& steps);

// The picture the start-up change would show, judged from the files as they stand and
// without writing anything; nullopt when there would be none. Only a guess, which lets that
// picture be decoded while the window is still being made: the change itself applies whatever
// entry it then chooses.
std::optional<std::string> ForeseeStartUpPicture(FileSystem& files, ProfileFile& profile, ProgramInfo& program);

// Saves the current index, then removes the tray icon.
void RunShutDown(const RotationState& state, const Services& services, const DataFiles& files,
                 const std::function<void()>& removeTrayIcon);

}  // namespace scenewright
