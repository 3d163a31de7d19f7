// Arbitrary bytes as a settings file: reads never fail or overrun, and a write changes the
// one value it writes and nothing else that can be read.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/AsciiText.h"
#include "storage/IniText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::string_view kSections[] = {"General", "general", "Other"};
  constexpr std::string_view kKeys[] = {"autostart", "NEWONSTART", "random", "interval", "currentindex"};
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string_view section = kSections[data[0] % 3], key = kKeys[(data[0] / 4) % 5];
  const std::string value = std::to_string(static_cast<int>(data[0]) * 997 - 40000);
  const std::string written = scenewright::WriteIniText(text, section, key, value);
  if (scenewright::ReadIniText(written, section, key) != value) std::abort();
  for (std::string_view s : kSections) {
    for (std::string_view k : kKeys) {
      const std::string before = scenewright::ReadIniText(text, s, k);
      if (before.size() > scenewright::kMaxIniValueLength) std::abort();
      const bool same = scenewright::SameIgnoringCase(s, section) && scenewright::SameIgnoringCase(k, key);
      if (!same && scenewright::ReadIniText(written, s, k) != before) std::abort();
    }
  }
  return 0;
}
