#pragma once

#include <string>

namespace scenewright {

// The settings-file primitives: one value read or written per call.
class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  // The value's text, cut to at most 254 characters; empty for a missing file, section or key.
  virtual std::string ReadIniValue(const std::string& file, const std::string& section,
                                   const std::string& key) = 0;
  // Creates the file and the section as needed; failures are silent.
  virtual void WriteIniValue(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
  // True for an existing file, hidden and system files included; a directory, an invalid
  // path or any error counts as absence.
  virtual bool FileExists(const std::string& path) = 0;
};

}  // namespace scenewright
