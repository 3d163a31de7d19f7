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

}  // namespace

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
  // Room for one byte more than the text and its zero: a longer value does not fit and differs.
  std::string data(text.size() + 2, '\0');
  DWORD type = 0;
  auto size = static_cast<DWORD>(data.size());
  const bool read = RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (!read || type != REG_SZ) return false;
  data.resize(size);
  if (!data.empty() && data.back() == '\0') data.pop_back();  // other writers may leave it out
  return data == text;
}

}  // namespace scenewright::win32
