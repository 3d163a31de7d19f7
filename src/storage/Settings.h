#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ProfileFile.h"

namespace scenewright {

inline constexpr std::string_view kSettingsFileName = "scenewright.ini";
inline constexpr std::string_view kSettingsSection = "General";
inline constexpr std::string_view kKeyAutostart = "autostart";
inline constexpr std::string_view kKeyNewOnStart = "newonstart";
inline constexpr std::string_view kKeyRandom = "random";
inline constexpr std::string_view kKeyInterval = "interval";
inline constexpr std::string_view kKeyCurrentIndex = "currentindex";

// The five stored settings, as numbers of their fields' widths.
struct StoredSettings {
  std::int16_t autostart = 1;
  std::int16_t newonstart = 1;
  std::int16_t random = 0;
  std::int32_t interval = 3600;
  std::int16_t currentindex = -1;
};

// The first-run values, one write each in the file's key order.
void WriteDefaultSettings(ProfileFile& profile, const std::string& file);

// Each key read and converted; a value that is empty, not a number or outside its width
// gives that key's first-run value, and an index below -1 is read as -1.
StoredSettings ReadSettings(ProfileFile& profile, const std::string& file);

void WriteSetting(ProfileFile& profile, const std::string& file, std::string_view key,
                  std::int32_t value);

}  // namespace scenewright
