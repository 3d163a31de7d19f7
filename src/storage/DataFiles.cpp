#include "storage/DataFiles.h"

#include <utility>
#include <vector>

#include "storage/ListFile.h"
#include "storage/Settings.h"

namespace scenewright {

namespace {

// Copies the presets beside the executable into the user's folder, both or neither, also
// across a kill: a preset that is there but cannot be read now, or a copy that fails, leaves
// the user's folder without either file, so that a later start copies the presets whole
// rather than hiding them behind new files.
bool CopyPresets(FileSystem& files, const DataFiles& from, const std::string& userFolder) {
  std::vector<std::pair<std::string, std::string>> presets;
  for (const auto& [source, name] : {std::pair{from.settings, kSettingsFileName}, std::pair{from.list, kListFileName}}) {
    if (!files.IsFile(source)) continue;
    auto bytes = files.ReadFile(source);
    if (!bytes) return false;
    presets.emplace_back(std::string(name), std::move(*bytes));
  }
  return presets.empty() ? files.MakePrivateFolder(userFolder) : files.MakeFolderHolding(userFolder, presets);
}

bool HoldsEither(FileSystem& files, const DataFiles& data) {
  return files.IsFile(data.settings) || files.IsFile(data.list);
}

}  // namespace

DataFiles DataFilesIn(const std::string& folder, char separator) {
  return {folder + separator + std::string(kSettingsFileName), folder + separator + std::string(kListFileName)};
}

DataFiles ChooseDataFiles(FileSystem& files, ProgramInfo& program) {
  const char separator = program.PathSeparator();
  const std::string programFolder = program.ProgramFolder();
  const DataFiles beside = DataFilesIn(programFolder, separator);
  const bool mayWriteBeside = program.MayKeepFilesInProgramFolder();
  const auto writableBeside = [&] { return mayWriteBeside && files.CanCreateFilesIn(programFolder); };
  // A copy that holds its own files uses them, whatever the user's folder holds: a portable
  // copy shows its own list, also beside an installed one.
  if (HoldsEither(files, beside) && writableBeside()) return beside;
  const std::string userFolder = program.UserDataFolder();
  if (userFolder.empty()) return mayWriteBeside ? beside : DataFiles{};
  const DataFiles own = DataFilesIn(userFolder, separator);

  // Once the user's folder holds the files every run without files of its own uses them,
  // whatever folders it may write: an elevated run and an ordinary one show the same list.
  if (HoldsEither(files, own)) {
    files.MakePrivateFolder(userFolder);
    return own;
  }
  if (writableBeside()) return beside;
  if (CopyPresets(files, beside, userFolder)) return own;
  // Without a complete copy this run uses the presets where they are, and never replaces them
  // (a folder of the system's not even that: its files would be root's to replace).
  return mayWriteBeside ? beside : DataFiles{};
}

std::optional<DataFiles> FindDataFiles(FileSystem& files, ProgramInfo& program) {
  const char separator = program.PathSeparator();
  const DataFiles beside = DataFilesIn(program.ProgramFolder(), separator);
  if (program.MayKeepFilesInProgramFolder() && HoldsEither(files, beside)) return beside;
  const std::string userFolder = program.UserDataFolder();
  if (userFolder.empty()) return std::nullopt;
  const DataFiles own = DataFilesIn(userFolder, separator);
  if (HoldsEither(files, own)) return own;
  return std::nullopt;
}

}  // namespace scenewright
