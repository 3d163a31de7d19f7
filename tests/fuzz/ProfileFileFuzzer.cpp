// Arbitrary bytes as a settings file: reads never fail or overrun, and a write changes the
// one value it writes and nothing else that can be read.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/AsciiText.h"
#include "storage/IniText.h"

namespace {

constexpr std::array<std::string_view, 3> kSections{"General", "general", "Other"};
constexpr std::array<std::string_view, 5> kKeys{"autostart", "NEWONSTART", "random", "interval", "currentindex"};

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t choice = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string_view section = kSections[choice % kSections.size()];
  const std::string_view key = kKeys[(choice / 4) % kKeys.size()];
  const std::string value = std::to_string(static_cast<int>(choice) * 997 - 40000);

  std::array<std::string, kKeys.size() * kSections.size()> before;
  for (std::size_t s = 0; s < kSections.size(); ++s) {
    for (std::size_t k = 0; k < kKeys.size(); ++k) {
      before[s * kKeys.size() + k] = scenewright::ReadIniText(text, kSections[s], kKeys[k]);
      Check(before[s * kKeys.size() + k].size() <= scenewright::kMaxIniValueLength);
    }
  }

  const std::string written = scenewright::WriteIniText(text, section, key, value);
  Check(scenewright::ReadIniText(written, section, key) == value);
  for (std::size_t s = 0; s < kSections.size(); ++s) {
    for (std::size_t k = 0; k < kKeys.size(); ++k) {
      if (scenewright::SameIgnoringCase(kSections[s], section) && scenewright::SameIgnoringCase(kKeys[k], key)) continue;
      Check(scenewright::ReadIniText(written, kSections[s], kKeys[k]) == before[s * kKeys.size() + k]);
    }
  }
  return 0;
}
