#include "platform/linux/PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <limits>
#include <vector>

#include "platform/TemporaryName.h"
#include "platform/linux/XdgFolders.h"

namespace scenewright::linux_platform {

namespace {

// A program of ours that may still be writing its temporaries; a process id reused by some
// other program counts too, so that nothing is ever taken from under a running save.
bool StillRuns(unsigned long process) {
  if (process > static_cast<unsigned long>(std::numeric_limits<pid_t>::max())) return false;
  const auto pid = static_cast<pid_t>(process);
  // Our own id on a leftover belongs to an earlier program: nothing of ours is half-saved yet.
  return pid != ::getpid() && (::kill(pid, 0) == 0 || errno != ESRCH);
}

// Empties a leftover folder of ours of its files, then removes it; a link is never followed.
void RemoveLeftoverFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  DIR* entries = fd < 0 ? nullptr : ::fdopendir(fd);
  if (entries == nullptr) {
    if (fd >= 0) ::close(fd);
    return;
  }
  while (const dirent* entry = ::readdir(entries)) {
    struct stat st {};
    if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) ::unlinkat(fd, entry->d_name, 0);
  }
  ::closedir(entries);
  ::rmdir(folder.c_str());
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

const std::string& TemporaryHost() {
  static const std::string host = [] {
    char name[256] = {};
    return HostForTemporaryNames(::gethostname(name, sizeof name - 1) == 0 ? name : "");
  }();
  return host;
}

std::string OurTemporaryName(std::string_view fileName, unsigned attempt) {
  return TemporaryName(fileName, TemporaryHost(), static_cast<unsigned long>(::getpid()), attempt);
}

int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
  const std::string name = std::filesystem::path(path).filename().string();
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temporary = FolderOf(path) + "/" + OurTemporaryName(name, attempt);
    const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
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

bool PosixFileSystem::RemoveFile(const std::string& path) {
  return !path.empty() && (::unlink(path.c_str()) == 0 || errno == ENOENT);
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
  std::string probe;
  const int fd = CreateTemporaryBeside(folder + "/scenewright-probe", probe);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
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

bool PosixFileSystem::MakeFolderHolding(const std::string& folder,
                                        const std::vector<std::pair<std::string, std::string>>& files) {
  if (folder.empty() || folder.front() != '/' || folder.back() == '/') return false;
  const std::string parent = FolderOf(folder);
  MakeFolders(parent);
  RemoveLeftovers(folder);  // folders a killed copy left beside it
  const std::string name = folder.substr(parent.size() + (parent == "/" ? 0 : 1));
  std::string staging;
  for (unsigned attempt = 0; attempt < 100 && staging.empty(); ++attempt) {
    const std::string tried = parent + "/" + OurTemporaryName(name, attempt);
    if (::mkdir(tried.c_str(), 0700) == 0) staging = tried;
    else if (errno != EEXIST) return false;
  }
  if (staging.empty()) return false;
  bool ok = true;
  for (const auto& [file, bytes] : files) ok = ok && ReplaceFileAtomically(staging + "/" + file, bytes, 0600);
  SyncFolder(staging);
  // The one step that makes the files appear: a folder already there gives way only when empty.
  if (!ok || ::rename(staging.c_str(), folder.c_str()) != 0) {
    RemoveLeftoverFolder(staging);
    return false;
  }
  SyncFolder(parent);
  return true;
}

void PosixFileSystem::RemoveLeftovers(const std::string& path) {
  if (path.empty()) return;
  const std::string folder = FolderOf(path);
  DIR* entries = ::opendir(folder.c_str());
  if (entries == nullptr) return;
  while (const dirent* entry = ::readdir(entries)) {
    const std::optional<TemporaryMaker> owner = TemporaryOwner(entry->d_name);
    // Another machine's process ids say nothing here: its temporaries are its own to judge.
    if (!owner || owner->host != TemporaryHost() || StillRuns(owner->process)) continue;
    struct stat st {};
    const std::string leftover = folder + "/" + entry->d_name;
    if (::lstat(leftover.c_str(), &st) != 0) continue;
    if (S_ISREG(st.st_mode)) ::unlink(leftover.c_str());
    if (S_ISDIR(st.st_mode)) RemoveLeftoverFolder(leftover);
  }
  ::closedir(entries);
}

}  // namespace scenewright::linux_platform
