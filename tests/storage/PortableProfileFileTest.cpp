#include "storage/PortableProfileFile.h"

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"
#include "storage/IniText.h"

namespace scenewright {
namespace {

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
  testing::MemoryFileSystem files;
  const std::string file = "D:\\Tools\\scenewright.ini";
  files.files[file] = "[General]\r\nautostart=1\r\n";
  files.unreadable.insert(file);
  PortableProfileFile profile(files);
  profile.WriteIniValue(file, "General", "currentindex", "2");
  EXPECT_EQ(files.files[file], "[General]\r\nautostart=1\r\n");
  EXPECT_TRUE(profile.FileExists(file));  // so start-up never writes the first-run values over it
}

}  // namespace
}  // namespace scenewright
