#include "storage/Settings.h"

#include <algorithm>

#include "storage/TextConversion.h"

namespace scenewright {

namespace {

std::string Read(ProfileFile& profile, const std::string& file, std::string_view key) {
  return profile.ReadIniValue(file, std::string(kSettingsSection), std::string(key));
}

}  // namespace

void WriteDefaultSettings(ProfileFile& profile, const std::string& file) {
  const StoredSettings defaults;
  WriteSetting(profile, file, kKeyAutostart, defaults.autostart);
  WriteSetting(profile, file, kKeyNewOnStart, defaults.newonstart);
  WriteSetting(profile, file, kKeyRandom, defaults.random);
  WriteSetting(profile, file, kKeyInterval, defaults.interval);
  WriteSetting(profile, file, kKeyCurrentIndex, defaults.currentindex);
}

StoredSettings ReadSettings(ProfileFile& profile, const std::string& file) {
  StoredSettings settings;
  settings.autostart = TextToInt16(Read(profile, file, kKeyAutostart)).value_or(settings.autostart);
  settings.newonstart = TextToInt16(Read(profile, file, kKeyNewOnStart)).value_or(settings.newonstart);
  settings.random = TextToInt16(Read(profile, file, kKeyRandom)).value_or(settings.random);
  settings.interval = TextToInt32(Read(profile, file, kKeyInterval)).value_or(settings.interval);
  auto index = TextToInt16(Read(profile, file, kKeyCurrentIndex)).value_or(settings.currentindex);
  settings.currentindex = std::max<std::int16_t>(index, -1);
  return settings;
}

void WriteSetting(ProfileFile& profile, const std::string& file, std::string_view key,
                  std::int32_t value) {
  profile.WriteIniValue(file, std::string(kSettingsSection), std::string(key), std::to_string(value));
}

}  // namespace scenewright
