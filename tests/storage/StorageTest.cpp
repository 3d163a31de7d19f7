#include <gtest/gtest.h>

#include "fakes/FakeServices.h"
#include "storage/IniText.h"
#include "storage/ListFile.h"
#include "storage/PortableProfileFile.h"
#include "storage/TextConversion.h"

namespace scenewright {
namespace {

TEST(ListFile, ReadsEveryLineEndAndKeepsLinesPastTheIndexLimitThroughASave) {
  constexpr const char* kFile = testing::FakeSystem::kListFile;
  testing::MemoryFileSystem files;
  files.files[kFile] = "C:\\a.jpg\r\n\r\n  C:\\spaced.jpg \rC:\\a.jpg\n\r\nC:\\last.gif";
  WallpaperList list;
  LoadList(files, kFile, list);
  ASSERT_TRUE(SaveList(files, kFile, list));
  EXPECT_EQ(files.files[kFile], "C:\\a.jpg\r\n  C:\\spaced.jpg \r\nC:\\a.jpg\r\nC:\\last.gif\r\n");

  std::string text;
  for (int i = 0; i < WallpaperList::kMaxEntries + 3; ++i) text += "p" + std::to_string(i) + "\r\n";
  files.files[kFile] = text;
  LoadList(files, kFile, list);
  EXPECT_EQ(list.Count(), WallpaperList::kMaxEntries);  // one more would wrap the 16-bit count
  EXPECT_FALSE(list.Add("more"));
  list.RemoveAt(0);
  ASSERT_TRUE(SaveList(files, kFile, list));
  EXPECT_TRUE(files.files[kFile] == text.substr(4));  // EXPECT_EQ's diff of 32767 lines would take minutes
}

TEST(PortableProfileFile, EditsKeepEveryOtherLineAsItWas) {
  // LF and CR line ends, comments, blank lines and an unterminated last line.
  const std::string edited = "; mine\n[general]\n  Interval = 60 \n\n[Colors]\rred=1\r[Last]\r\nk=v";
  const std::tuple<std::string, const char*, const char*, std::string> cases[] = {
      {edited, "General", "interval", "; mine\n[general]\nInterval=90\n\n[Colors]\rred=1\r[Last]\r\nk=v"},
      // A new key goes after the last entry of its section, before the blank line.
      {edited, "GENERAL", "random", "; mine\n[general]\n  Interval = 60 \nrandom=90\r\n\n[Colors]\rred=1\r[Last]\r\nk=v"},
      // A missing section is appended at the end, no blank line before it.
      {edited, "General2", "a", edited + "\r\n[General2]\r\na=90\r\n"},
      {"[General]", "General", "a", "[General]\r\na=90\r\n"},
  };
  for (const auto& [text, section, key, expected] : cases) EXPECT_EQ(WriteIniText(text, section, key, "90"), expected);
}

TEST(PortableProfileFile, NeverReplacesAFileItCannotRead) {
  testing::FakeSystem system;
  const std::string file = system.kSettingsFile, text = "[General]\r\nautostart=1\r\n";
  system.files.files[file] = text;
  system.files.unreadable.insert(file);
  system.profile.WriteIniValue(file, "General", "currentindex", "2");
  EXPECT_EQ(system.files.files[file], text);
  EXPECT_TRUE(system.profile.FileExists(file));  // so start-up never writes the first-run values over it
}

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
