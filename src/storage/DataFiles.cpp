#include "storage/DataFiles.h"

#include "storage/ListFile.h"
#include "storage/Settings.h"

namespace scenewright {

DataFiles DataFilesIn(const std::string& folder, char separator) {
  return {folder + separator + std::string(kSettingsFileName), folder + separator + std::string(kListFileName)};
}

DataFiles ChooseDataFiles(FileSystem& files, ProgramInfo& program) {
  const char separator = program.PathSeparator();
  const std::string programFolder = program.ProgramFolder();
  const DataFiles beside = DataFilesIn(programFolder, separator);
  if (files.CanCreateFilesIn(programFolder)) return beside;

  const std::string userFolder = program.UserDataFolder();
  if (userFolder.empty() || !files.MakePrivateFolder(userFolder)) return beside;
  const DataFiles own = DataFilesIn(userFolder, separator);
  if (!files.IsFile(own.settings) && !files.IsFile(own.list)) {
    for (const auto& [from, to] : {std::pair{beside.settings, own.settings}, std::pair{beside.list, own.list}}) {
      if (auto preset = files.ReadFile(from)) files.ReplaceFile(to, *preset);
    }
  }
  return own;
}

}  // namespace scenewright
