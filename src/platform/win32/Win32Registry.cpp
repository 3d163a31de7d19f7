// The start-at-logon value: one string under a Run key.

#include <windows.h>

#include <string>

#include "platform/win32/Win32Services.h"

namespace scenewright::win32 {

namespace {

constexpr REGSAM kCreateAccess = 0x2003F;  // KEY_ALL_ACCESS without DELETE and WRITE_DAC

HKEY RootHandle(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// A path as Windows finds the file: complete, each name in its long form where the file
// exists (a short 8.3 name is another spelling of the same file).
std::string ResolvedPath(const std::string& path) {
  std::string full(MAX_PATH, '\0');
  DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) return path;
  full.resize(length);
  std::string longForm(MAX_PATH, '\0');
  length = GetLongPathNameA(full.c_str(), longForm.data(), static_cast<DWORD>(longForm.size()));
  if (length == 0 || length >= longForm.size()) return full;
  longForm.resize(length);
  return longForm;
}

std::string ProgramOfCommand(std::string command) {
  // The program is the quoted part, or the whole text when it has no quotes.
  const auto first = command.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  command.erase(0, first);
  if (command.front() == '"') command = command.substr(1, command.find('"', 1) - 1);
  while (!command.empty() && command.back() == ' ') command.pop_back();
  return ResolvedPath(command);
}

}  // namespace

bool SameProgram(const std::string& command, const std::string& other) {
  // File names ignore case on Windows.
  return lstrcmpiA(ProgramOfCommand(command).c_str(), ProgramOfCommand(other).c_str()) == 0;
}

bool Win32Registry::SetRegistryValue(RegistryRoot root, const std::string& keyPath,
                                     const std::string& valueName, const std::string& text) {
  SECURITY_ATTRIBUTES security{};
  security.nLength = sizeof(security);
  security.lpSecurityDescriptor = nullptr;
  security.bInheritHandle = TRUE;
  char keyClass[] = "1";
  HKEY key = nullptr;
  DWORD disposition = 0;
  bool ok = false;
  if (RegCreateKeyExA(RootHandle(root), keyPath.c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE,
                      kCreateAccess, &security, &key, &disposition) == ERROR_SUCCESS) {
    // A REG_SZ's size counts its terminating zero; readers that trust the size need it.
    ok = RegSetValueExA(key, valueName.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }
  if (key != nullptr) RegCloseKey(key);
  return ok;
}

void Win32Registry::DeleteRegistryValue(RegistryRoot root, const std::string& keyPath,
                                        const std::string& valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootHandle(root), keyPath.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    return;
  }
  RegDeleteValueA(key, valueName.c_str());
  RegCloseKey(key);
}

bool Win32Registry::HoldsRegistryValue(RegistryRoot root, const std::string& keyPath,
                                       const std::string& valueName, const std::string& text) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootHandle(root), keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  std::string data(MAX_PATH * 2, '\0');
  DWORD type = 0;
  auto size = static_cast<DWORD>(data.size());
  const bool read = RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (!read || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  data.resize(size);
  while (!data.empty() && data.back() == '\0') data.pop_back();  // other writers may leave it out
  if (type == REG_EXPAND_SZ) {
    std::string expanded(MAX_PATH * 2, '\0');
    const DWORD length = ExpandEnvironmentStringsA(data.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
    if (length == 0 || length > expanded.size()) return false;
    data = expanded.c_str();
  }
  return SameProgram(data, text);
}

}  // namespace scenewright::win32
