#include <gtest/gtest.h>

#include "storage/TextConversion.h"

namespace scenewright {
namespace {

TEST(TextConversion, RoundsHalvesToEvenAndChecksTheWidth) {
  const std::pair<const char*, std::optional<std::int16_t>> shorts[] = {
      {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {" 12 ", 12}, {"+7", 7}, {"32767", 32767},
      {"32767.5", std::nullopt}, {"-32768", -32768}, {"-32769", std::nullopt}, {"1e3", 1000},
  };
  for (const auto& [text, value] : shorts) EXPECT_EQ(TextToInt16(text), value) << text;
  EXPECT_EQ(TextToInt32("2147483647"), 2147483647);
  for (const char* bad : {"2147483648", "", " ", "abc", "12abc", "1 2", "inf", "nan", "-", "0x10"}) {
    EXPECT_EQ(TextToInt32(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(ParseDecimal("1,5", ","), 1.5);
  EXPECT_EQ(ParseDecimal("1.5", ","), 1.5);
}

}  // namespace
}  // namespace scenewright
