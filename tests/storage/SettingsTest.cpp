#include "storage/Settings.h"
#include "storage/DataFiles.h"

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"
#include "storage/TextConversion.h"

namespace scenewright {
namespace {

TEST(TextConversion, RoundsHalvesToEvenAndChecksTheWidth) {
  EXPECT_EQ(TextToInt16("2.5"), 2);
  EXPECT_EQ(TextToInt16("3.5"), 4);
  EXPECT_EQ(TextToInt16("-2.5"), -2);
  EXPECT_EQ(TextToInt16(" 12 "), 12);
  EXPECT_EQ(TextToInt16("+7"), 7);
  EXPECT_EQ(TextToInt16("32767"), 32767);
  EXPECT_EQ(TextToInt16("32767.5"), std::nullopt);
  EXPECT_EQ(TextToInt16("-32768"), -32768);
  EXPECT_EQ(TextToInt16("-32769"), std::nullopt);
  EXPECT_EQ(TextToInt32("2147483647"), 2147483647);
  EXPECT_EQ(TextToInt32("2147483648"), std::nullopt);
  EXPECT_EQ(TextToInt32("1e3"), 1000);
  for (const char* bad : {"", " ", "abc", "12abc", "1 2", "inf", "nan", "-", "0x10"}) {
    EXPECT_EQ(TextToInt32(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(ParseDecimal("1,5", ","), 1.5);
  EXPECT_EQ(ParseDecimal("1.5", ","), 1.5);
}

TEST(Settings, DefaultsRoundTripThroughTheFile) {
  testing::FakeSystem system;
  const std::string file = DataFilesIn(system.program.folder, '\\').settings;
  EXPECT_EQ(file, testing::FakeSystem::kSettingsFile);
  WriteDefaultSettings(system.profile, file);
  for (auto [key, value] : {std::pair{"autostart", "1"}, {"newonstart", "1"}, {"random", "0"},
                            {"interval", "3600"}, {"currentindex", "-1"}}) {
    EXPECT_EQ(system.Setting(key), value) << key;
  }
  WriteSetting(system.profile, file, kKeyCurrentIndex, 12);
  EXPECT_EQ(system.Setting("currentindex"), "12");
  EXPECT_EQ(ReadSettings(system.profile, file).currentindex, 12);
}

}  // namespace
}  // namespace scenewright
