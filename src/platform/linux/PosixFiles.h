#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace scenewright::linux_platform {

// Writes `bytes` to a fresh temporary file beside `path` (O_EXCL, so nothing planted there
// is ever followed), flushes it to disk and renames it over `path`. A new file gets
// `newFileMode`; an existing regular file keeps its own mode. On failure the old file is
// untouched and the temporary file removed.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, mode_t newFileMode);

// The folder part of a path ("/a/b" for "/a/b/c"; "/" for "/c"; "." for "c").
std::string FolderOf(const std::string& path);

class PosixFileSystem final : public FileSystem {
 public:
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool ReplaceFile(const std::string& path, std::string_view bytes) override;
  bool CreateFileIfMissing(const std::string& path) override;
  bool IsFile(const std::string& path) override;
  bool CanCreateFilesIn(const std::string& folder) override;
  bool MakePrivateFolder(const std::string& folder) override;
  void RemoveLeftovers(const std::string& path) override;
};

}  // namespace scenewright::linux_platform
