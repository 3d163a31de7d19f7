#include "storage/DataFiles.h"

#include <utility>
#include <vector>

#include "storage/ListFile.h"
#include "storage/Settings.h"

namespace scenewright {

namespace {

// Copies the presets beside the executable into the user's folder, all or nothing: a preset
// that is there but cannot be read now, or a copy that fails, leaves the user's folder empty,
// so that a later start copies the presets whole rather than hiding them behind new files.
bool CopyPresets(FileSystem& files, const DataFiles& from, const DataFiles& to) {
  std::vector<std::pair<std::string, std::string>> presets;
  for (const auto& [source, target] : {std::pair{from.settings, to.settings}, std::pair{from.list, to.list}}) {
    if (!files.IsFile(source)) continue;
    auto bytes = files.ReadFile(source);
    if (!bytes) return false;
    presets.emplace_back(target, std::move(*bytes));
  }
  std::vector<std::string> copied;
  for (const auto& [target, bytes] : presets) {
    if (!files.ReplaceFile(target, bytes)) {
      for (const auto& done : copied) files.RemoveFile(done);
      return false;
    }
    copied.push_back(target);
  }
  return true;
}

}  // namespace

DataFiles DataFilesIn(const std::string& folder, char separator) {
  return {folder + separator + std::string(kSettingsFileName), folder + separator + std::string(kListFileName)};
}

DataFiles ChooseDataFiles(FileSystem& files, ProgramInfo& program) {
  const char separator = program.PathSeparator();
  const std::string programFolder = program.ProgramFolder();
  const DataFiles beside = DataFilesIn(programFolder, separator);
  const std::string userFolder = program.UserDataFolder();
  if (userFolder.empty()) return beside;
  const DataFiles own = DataFilesIn(userFolder, separator);

  // Once the user's folder holds the files every run uses them, whatever folders it may
  // write: an elevated run and an ordinary one show the same list.
  if (files.IsFile(own.settings) || files.IsFile(own.list)) {
    files.MakePrivateFolder(userFolder);
    return own;
  }
  if (files.CanCreateFilesIn(programFolder)) return beside;
  // Without a complete copy this run uses the presets where they are, and never replaces them.
  if (!files.MakePrivateFolder(userFolder) || !CopyPresets(files, beside, own)) return beside;
  return own;
}

}  // namespace scenewright
