#include "storage/PortableProfileFile.h"

#include "storage/IniText.h"

namespace scenewright {

std::string PortableProfileFile::ReadIniValue(const std::string& file, const std::string& section,
                                              const std::string& key) {
  auto text = files_.ReadFile(file);
  return text ? ReadIniText(*text, section, key) : std::string();
}

void PortableProfileFile::WriteIniValue(const std::string& file, const std::string& section,
                                        const std::string& key, const std::string& value) {
  auto text = files_.ReadFile(file);
  // A file that exists but cannot be read must not be replaced by one holding a single key.
  if (!text && files_.IsFile(file)) return;
  std::string old = text.value_or(std::string());
  std::string updated = WriteIniText(old, section, key, value);
  if (text && updated == old) return;
  files_.ReplaceFile(file, updated);
}

bool PortableProfileFile::FileExists(const std::string& path) { return files_.IsFile(path); }

}  // namespace scenewright
