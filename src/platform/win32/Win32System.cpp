// The clock, the locale, the program's own file and the desktop wallpaper.

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/Win32Services.h"

namespace scenewright::win32 {

namespace {

constexpr const char* kBitmapName = "scenewright.bmp";

std::string Folder(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileName(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// One of the user's own folders, created if missing, with a trailing backslash; empty if none.
std::string UserFolder(int csidl) {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)) ||
      folder[0] == '\0') {
    return {};
  }
  std::string path(folder);
  if (path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

float Win32Clock::SecondsSinceMidnight() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return static_cast<float>(now.wHour * 3600 + now.wMinute * 60 + now.wSecond) +
         static_cast<float>(now.wMilliseconds) / 1000.0f;
}

std::string Win32Locale::DecimalSeparator() {
  char buffer[8] = {};
  const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof(buffer));
  if (n <= 1) return ".";
  return std::string(buffer);
}

std::string Win32ProgramInfo::ModulePath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);  // the path was cut; try again with more room
  }
}

std::string Win32ProgramInfo::ProgramFolder() { return Folder(ModulePath()); }

std::string Win32ProgramInfo::ExecutableBaseName() {
  const std::string name = FileName(ModulePath());
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string Win32ProgramInfo::ProductName() {
  const std::string path = ModulePath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> info(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data())) return {};

  // The string table is named by the first language and code page the resource lists.
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translations = nullptr;
  UINT bytes = 0;
  char block[64] = "\\StringFileInfo\\040904b0\\ProductName";
  if (VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                     reinterpret_cast<void**>(&translations), &bytes) &&
      bytes >= sizeof(Translation)) {
    wsprintfA(block, "\\StringFileInfo\\%04x%04x\\ProductName", translations[0].language,
              translations[0].codePage);
  }
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), block, reinterpret_cast<void**>(&value), &length) ||
      value == nullptr) {
    return {};
  }
  std::string name(value, length);
  while (!name.empty() && name.back() == '\0') name.pop_back();
  return name;
}

std::string Win32ProgramInfo::UserDataFolder() {
  const std::string roaming = UserFolder(CSIDL_APPDATA);
  return roaming.empty() ? roaming : roaming + "Scenewright";
}

std::vector<std::string> Win32Desktop::BitmapFileCandidates() {
  std::vector<std::string> candidates{std::string("C:\\") + kBitmapName};
  // Standard users may not create files in the root of C:; their own data folder always works.
  if (const std::string local = UserFolder(CSIDL_LOCAL_APPDATA); !local.empty()) {
    candidates.push_back(local + kBitmapName);
  }
  return candidates;
}

void Win32Desktop::SetWallpaper(const std::string& bitmapPath) {
  SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(bitmapPath.c_str()),
                        SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

}  // namespace scenewright::win32
