#pragma once

#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"

namespace scenewright {

// The settings-file primitives for systems without the Windows profile functions: the same
// file format and the same results, each call opening, using and closing the file.
class PortableProfileFile final : public ProfileFile {
 public:
  explicit PortableProfileFile(FileSystem& files) : files_(files) {}

  std::string ReadIniValue(const std::string& file, const std::string& section,
                           const std::string& key) override;
  void WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
  bool FileExists(const std::string& path) override;

 private:
  FileSystem& files_;
};

}  // namespace scenewright
