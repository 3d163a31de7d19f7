#include "platform/linux/AutostartRegistry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/AsciiText.h"
#include "platform/linux/PosixFiles.h"
#include "platform/linux/XdgFolders.h"

namespace scenewright::linux_platform {

namespace {

constexpr std::string_view kRunKey = "software\\microsoft\\windows\\currentversion\\run\\";
constexpr std::string_view kValueName = "scenewright";

bool IsRunValue(std::string_view keyPath, std::string_view valueName) {
  return SameIgnoringCase(keyPath, kRunKey) && SameIgnoringCase(valueName, kValueName);
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    std::uint32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1, code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3, code = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(text[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      code = (code << 6) | (d & 0x3F);
    }
    const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (code < least[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

// A one-pair wrapper of double quotes is how the Windows Run value protects a path with a
// space; a Linux path always starts with '/', so a leading quote can only be that wrapper.
std::string_view Unwrapped(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// The escapes of a desktop entry's string value.
std::string StringValue(std::string_view text) {
  std::string value;
  for (const char c : text) {
    switch (c) {
      case '\\': value += "\\\\"; break;
      case '\n': value += "\\n"; break;
      case '\t': value += "\\t"; break;
      default: value += c;
    }
  }
  return value;
}

}  // namespace

std::optional<std::string> DesktopEntryExec(std::string_view path) {
  if (path.empty() || !IsValidUtf8(path)) return std::nullopt;
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  const bool quote = path.find_first_of(kReserved) != std::string_view::npos;

  // First the argument as the command line sees it...
  std::string argument;
  if (quote) argument += '"';
  for (const char c : path) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 && c != '\t' && c != '\n') return std::nullopt;
    if (u == 0x7F) return std::nullopt;
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) argument += '\\';
    argument += c;
    if (c == '%') argument += '%';  // a literal percent, not a field code
  }
  if (quote) argument += '"';

  // ...then the string-value escapes, which a reader undoes before it parses the quoting.
  return StringValue(argument);
}

std::optional<std::string> AutostartEntryText(std::string_view executablePath) {
  const auto exec = DesktopEntryExec(executablePath);
  if (!exec) return std::nullopt;
  // TryExec: once the program is gone (a package removed, a folder deleted) no session starts it.
  return "[Desktop Entry]\nType=Application\nName=Scenewright\nTryExec=" + StringValue(executablePath) + "\nExec=" +
         *exec + "\n";
}

std::string SystemAutostartFolder() {
  std::string base = "/etc/xdg";
  if (const char* dirs = std::getenv("XDG_CONFIG_DIRS"); dirs != nullptr && *dirs != '\0') {
    const std::string_view all(dirs);
    const std::string_view first = all.substr(0, all.find(':'));
    // The base directory rules accept absolute folders only.
    if (!first.empty() && first.front() == '/') base = std::string(first);
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/autostart";
}

std::string UserAutostartFolder() {
  const std::string base = XdgUserFolder("XDG_CONFIG_HOME", ".config");
  return base.empty() ? std::string() : base + "/autostart";
}

AutostartRegistry::AutostartRegistry() : AutostartRegistry(SystemAutostartFolder()) {}

AutostartRegistry::AutostartRegistry(std::string systemFolder, std::string userFolder)
    : systemFolder_(std::move(systemFolder)), userFolder_(std::move(userFolder)) {}

bool AutostartRegistry::SetRegistryValue(RegistryRoot root, const std::string& keyPath,
                                         const std::string& valueName, const std::string& text) {
  if (!IsRunValue(keyPath, valueName)) return false;
  const auto entry = AutostartEntryText(Unwrapped(text));
  if (!entry) return false;
  if (root == RegistryRoot::LocalMachine) {
    ::mkdir(systemFolder_.c_str(), 0755);  // the base folder must exist already; only this one is made
  } else {
    if (userFolder_.empty()) return false;
    MakeFolders(userFolder_);
  }
  // Everyone's session reads the system entry, so it is world-readable like its neighbours.
  return ReplaceFileAtomically(EntryPath(root), *entry, 0644);
}

void AutostartRegistry::DeleteRegistryValue(RegistryRoot root, const std::string& keyPath,
                                            const std::string& valueName) {
  if (!IsRunValue(keyPath, valueName)) return;
  if (root == RegistryRoot::CurrentUser && userFolder_.empty()) return;
  ::unlink(EntryPath(root).c_str());
}

bool AutostartRegistry::HoldsRegistryValue(RegistryRoot root, const std::string& keyPath,
                                           const std::string& valueName, const std::string& text) {
  if (!IsRunValue(keyPath, valueName)) return false;
  if (root == RegistryRoot::CurrentUser && userFolder_.empty()) return false;
  const auto entry = AutostartEntryText(Unwrapped(text));
  return entry && PosixFileSystem().ReadFile(EntryPath(root)) == *entry;
}

}  // namespace scenewright::linux_platform
