#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenewright {

// Whole-file access for the list file and the portable settings engine.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The file's bytes; nullopt when it is missing, is not a regular file or cannot be read.
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // Writes the bytes to a temporary file beside `path`, flushes it and renames it over
  // `path`. On any failure the old file stays as it was and no temporary file is left.
  virtual bool ReplaceFile(const std::string& path, std::string_view bytes) = 0;
  // Removes the file (not a folder); true when none is left at `path`.
  virtual bool RemoveFile(const std::string& path) = 0;
  // Creates an empty file when none exists; an existing file is left untouched.
  virtual bool CreateFileIfMissing(const std::string& path) = 0;
  // True for an existing regular file (hidden ones included), false for anything else.
  virtual bool IsFile(const std::string& path) = 0;
  // The full paths of the files directly inside the folder (no subfolders), in no particular
  // order; nullopt when `folder` is not a folder that can be read.
  virtual std::optional<std::vector<std::string>> FilesInFolder(const std::string& folder) = 0;
  // True when a new file can be made in the folder right now (tried, then removed).
  virtual bool CanCreateFilesIn(const std::string& folder) = 0;
  // Makes the folder (and missing parents) readable and writable by this user only; true
  // when it exists afterwards and new files can be made in it.
  virtual bool MakePrivateFolder(const std::string& folder) = 0;
  // Makes `folder`, missing or empty, hold exactly these files (name, bytes), all or none, also
  // across a kill: they are written into a fresh folder beside it, under the program's
  // temporary name, which is then renamed into place. False, with `folder` as it was, when
  // that cannot be done (a folder there that holds anything, say).
  virtual bool MakeFolderHolding(const std::string& folder,
                                 const std::vector<std::pair<std::string, std::string>>& files) = 0;
  // Removes, from the folder that holds `path`, the temporaries a killed program of ours left
  // there (a save, a staged picture, a bitmap being placed, a folder of presets being filled,
  // with the files in it): only names that carry the program's mark, this machine's name and
  // the id of a process that no longer runs. Every other file stays, a running program's save
  // in progress and another machine's included.
  virtual void RemoveLeftovers(const std::string& path) = 0;
};

}  // namespace scenewright
