#include "platform/linux/PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/linux/XdgFolders.h"

namespace scenewright::linux_platform {

namespace {

// mkostemp's name for a temporary beside `path`: "." name "." and six letters or digits.
std::string TemporaryPrefix(const std::string& path) {
  return "." + std::filesystem::path(path).filename().string() + ".";
}

bool IsTemporaryOf(const std::string& prefix, const char* name) {
  if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0) return false;
  const char* suffix = name + prefix.size();
  if (std::strlen(suffix) != 6) return false;
  for (const char* c = suffix; *c != '\0'; ++c) {
    if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
  }
  return true;
}

// A rename is only durable once the folder's entry is on disk too.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool WriteAllAt(int fd, const void* data, std::size_t size, std::uint64_t offset) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const ssize_t written = ::pwrite(fd, bytes, size, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
    offset += static_cast<std::uint64_t>(written);
  }
  return true;
}

int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
  temporary = FolderOf(path) + "/" + TemporaryPrefix(path) + "XXXXXX";
  return ::mkostemp(temporary.data(), O_CLOEXEC);  // mode 0600, O_EXCL
}

std::string FolderOf(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, mode_t newFileMode) {
  if (path.empty() || path.back() == '/') return false;
  std::string temp;
  const int fd = CreateTemporaryBeside(path, temp);
  if (fd < 0) return false;

  struct stat old {};
  mode_t mode = newFileMode;
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) mode = old.st_mode & 07777;

  bool ok = WriteAllAt(fd, bytes.data(), bytes.size(), 0) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolder(FolderOf(path));
  return true;
}

std::optional<std::string> PosixFileSystem::ReadFile(const std::string& path) {
  // Non-blocking, so that a pipe planted at the path cannot stall the program.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<std::string> result;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    std::string bytes;
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) break;
      if (n == 0) {
        result = std::move(bytes);
        break;
      }
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  return result;
}

bool PosixFileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
  return ReplaceFileAtomically(path, bytes, 0600);
}

bool PosixFileSystem::CreateFileIfMissing(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) return ::close(fd) == 0;
  return errno == EEXIST && IsFile(path);
}

bool PosixFileSystem::IsFile(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::vector<std::string>> PosixFileSystem::FilesInFolder(const std::string& folder) {
  DIR* dir = folder.empty() ? nullptr : ::opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  const std::string prefix = folder.back() == '/' ? folder : folder + '/';
  std::vector<std::string> paths;
  while (const dirent* entry = ::readdir(dir)) {
    struct stat st {};
    // A link to a file counts as the file, as a file manager shows it.
    if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode)) paths.push_back(prefix + entry->d_name);
  }
  ::closedir(dir);
  return paths;
}

bool PosixFileSystem::CanCreateFilesIn(const std::string& folder) {
  // Tried for real: permission bits, ACLs, read-only mounts and immutable folders all count.
  std::string pattern = folder + "/.scenewright-probe.XXXXXX";
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(pattern.c_str());
  return true;
}

bool PosixFileSystem::MakePrivateFolder(const std::string& folder) {
  if (folder.empty() || folder.front() != '/') return false;
  MakeFolders(folder);
  struct stat st {};
  if (::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
      (st.st_mode & 077) != 0) {
    ::chmod(folder.c_str(), 0700);  // an existing folder of ours that others could read
  }
  return IsPrivateFolder(folder) && CanCreateFilesIn(folder);
}

void PosixFileSystem::RemoveLeftovers(const std::string& path) {
  if (path.empty()) return;
  const std::string folder = FolderOf(path);
  const std::string prefix = TemporaryPrefix(path);
  DIR* entries = ::opendir(folder.c_str());
  if (entries == nullptr) return;
  while (const dirent* entry = ::readdir(entries)) {
    struct stat st {};
    const std::string leftover = folder + "/" + entry->d_name;
    if (IsTemporaryOf(prefix, entry->d_name) && ::lstat(leftover.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      ::unlink(leftover.c_str());
    }
  }
  ::closedir(entries);
}

}  // namespace scenewright::linux_platform
