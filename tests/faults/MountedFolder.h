#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <string>

#include "TempFolder.h"

namespace scenewright::testing {

// A small file system of its own (tmpfs), so that a test can make it read-only or fill it.
// Needs the right to mount; `ok()` is false where there is none.
class MountedFolder {
 public:
  explicit MountedFolder(const std::string& sizeOption = "size=4m") : path_(temp_ / "mount") {
    ::mkdir(path_.c_str(), 0755);
    mounted_ = ::geteuid() == 0 && ::mount("tmpfs", path_.c_str(), "tmpfs", 0, sizeOption.c_str()) == 0;
  }
  ~MountedFolder() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  }
  MountedFolder(const MountedFolder&) = delete;
  MountedFolder& operator=(const MountedFolder&) = delete;

  bool ok() const { return mounted_; }
  bool MakeReadOnly() {
    return ::mount("tmpfs", path_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  TempFolder temp_;
  std::string path_;
  bool mounted_ = false;
};

}  // namespace scenewright::testing
