#pragma once

#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/ProgramInfo.h"

namespace scenewright {

// Where the settings file and the list file live for the whole run.
struct DataFiles {
  std::string settings;
  std::string list;
  bool operator==(const DataFiles&) const = default;
};

// The two files in `folder`.
DataFiles DataFilesIn(const std::string& folder, char separator);

// Chosen once at start-up, for both files together. Beside the executable where that folder
// holds either file and may be written (a portable copy keeps its own). Otherwise the user's
// own folder, made private, once it holds either file: from then on every such run uses it,
// whichever folders that run may write. Otherwise beside the executable when new files can
// be made there (exactly as a copy in the user's own folder always worked); otherwise the
// user's folder, into which the files beside the executable, an administrator's presets, are
// first copied, both or neither. When that copy cannot be made whole, or there is no usable
// user folder, the program folder stays. A program folder the system keeps free of data is
// never written.
DataFiles ChooseDataFiles(FileSystem& files, ProgramInfo& program);

// Where the choice above would find an earlier run's files, judged without writing anything
// (so without trying whether the program folder may be written); nullopt where neither folder
// holds either file.
std::optional<DataFiles> FindDataFiles(FileSystem& files, ProgramInfo& program);

}  // namespace scenewright
