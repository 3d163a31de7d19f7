#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace scenewright::linux_platform {

// Writes `bytes` to a fresh temporary file beside `path` (O_EXCL, so nothing planted there
// is ever followed), flushes it to disk and renames it over `path`. A new file gets
// `newFileMode`; an existing regular file keeps its own mode. On failure the old file is
// untouched and the temporary file removed.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, mode_t newFileMode);

// Writes all `size` bytes at `offset`, whatever number each system call takes.
bool WriteAllAt(int fd, const void* data, std::size_t size, std::uint64_t offset);

// This machine's name as temporaries carry it.
const std::string& TemporaryHost();

// This process's temporary name for `fileName` (a name, not a path).
std::string OurTemporaryName(std::string_view fileName, unsigned attempt);

// A fresh file, private to this user, beside `path`, under the program's temporary name for
// it (the name start-up knows as a leftover); made with O_EXCL, so nothing planted there is
// followed. Its name goes to `temporary`; -1 on failure.
int CreateTemporaryBeside(const std::string& path, std::string& temporary);

// The folder part of a path ("/a/b" for "/a/b/c"; "/" for "/c"; "." for "c").
std::string FolderOf(const std::string& path);

class PosixFileSystem final : public FileSystem {
 public:
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool ReplaceFile(const std::string& path, std::string_view bytes) override;
  bool RemoveFile(const std::string& path) override;
  bool CreateFileIfMissing(const std::string& path) override;
  bool IsFile(const std::string& path) override;
  std::optional<std::vector<std::string>> FilesInFolder(const std::string& folder) override;
  bool CanCreateFilesIn(const std::string& folder) override;
  bool MakePrivateFolder(const std::string& folder) override;
  bool MakeFolderHolding(const std::string& folder,
                         const std::vector<std::pair<std::string, std::string>>& files) override;
  void RemoveLeftovers(const std::string& path) override;
};

}  // namespace scenewright::linux_platform
