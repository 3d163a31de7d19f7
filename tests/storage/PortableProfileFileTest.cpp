#include "storage/PortableProfileFile.h"

#include <gtest/gtest.h>

#include "fakes/FakeServices.h"
#include "storage/IniText.h"

namespace scenewright {
namespace {

using testing::MemoryFileSystem;

constexpr const char* kFile = "D:\\Tools\\scenewright.ini";

TEST(PortableProfileFile, WritesTheBytesWindowsWrites) {
  MemoryFileSystem files;
  PortableProfileFile profile(files);
  profile.WriteIniValue(kFile, "General", "autostart", "1");
  profile.WriteIniValue(kFile, "General", "interval", "3600");
  profile.WriteIniValue(kFile, "General", "autostart", "0");
  profile.WriteIniValue(kFile, "Other", "x", "");
  EXPECT_EQ(files.files[kFile], "[General]\r\nautostart=0\r\ninterval=3600\r\n[Other]\r\nx=\r\n");
  EXPECT_EQ(profile.ReadIniValue(kFile, "General", "currentindex"), "");
  EXPECT_EQ(profile.ReadIniValue("D:\\Tools\\missing.ini", "General", "autostart"), "");
}

TEST(PortableProfileFile, EditsKeepEveryOtherLineAsItWas) {
  // LF and CR line ends, comments, blank lines and an unterminated last line.
  const std::string handEdited = "; mine\n[general]\n  Interval = 60 \n\n[Colors]\rred=1\r[Last]\r\nk=v";
  EXPECT_EQ(WriteIniText(handEdited, "General", "interval", "90"),
            "; mine\n[general]\nInterval=90\n\n[Colors]\rred=1\r[Last]\r\nk=v");
  // A new key goes after the last entry of its section, before the blank line.
  EXPECT_EQ(WriteIniText(handEdited, "GENERAL", "random", "1"),
            "; mine\n[general]\n  Interval = 60 \nrandom=1\r\n\n[Colors]\rred=1\r[Last]\r\nk=v");
  // A missing section is appended at the end, no blank line before it.
  EXPECT_EQ(WriteIniText(handEdited, "General2", "a", "b"), handEdited + "\r\n[General2]\r\na=b\r\n");
  EXPECT_EQ(WriteIniText("[General]\r\n", "General", "a", "b"), "[General]\r\na=b\r\n");
  EXPECT_EQ(WriteIniText("[General]", "General", "a", "b"), "[General]\r\na=b\r\n");
}

TEST(PortableProfileFile, ReadsHandEditedFilesAsWindowsDoes) {
  const std::string text =
      "[ General ]\r\n"
      "  AUTOSTART =  1  \r\n"
      "random=\"2\"\n"
      "interval='45'\r"
      "newonstart=\"1'\r\n"
      "currentindex=3\r\n"
      "currentindex=4\r\n"
      "[General]\r\n"
      "extra=ignored\r\n";
  EXPECT_EQ(ReadIniText(text, "general", "autostart"), "1");
  EXPECT_EQ(ReadIniText(text, "General", "random"), "2");
  EXPECT_EQ(ReadIniText(text, "General", "interval"), "45");
  EXPECT_EQ(ReadIniText(text, "General", "newonstart"), "\"1'");
  EXPECT_EQ(ReadIniText(text, "General", "currentindex"), "3");
  EXPECT_EQ(ReadIniText(text, "General", "extra"), "");
  EXPECT_EQ(ReadIniText(text, "Missing", "autostart"), "");

  const std::string longValue(300, 'x');
  EXPECT_EQ(ReadIniText("[General]\r\nk=" + longValue + "\r\n", "General", "k"), std::string(254, 'x'));
}

TEST(PortableProfileFile, NeverReplacesAFileItCannotRead) {
  MemoryFileSystem files;
  files.files[kFile] = "[General]\r\nautostart=1\r\n";
  files.unreadable.insert(kFile);
  PortableProfileFile profile(files);
  profile.WriteIniValue(kFile, "General", "currentindex", "2");
  EXPECT_EQ(files.files[kFile], "[General]\r\nautostart=1\r\n");
  EXPECT_TRUE(profile.FileExists(kFile));

  // A folder is not a settings file.
  files.folders.insert("D:\\Tools\\folder.ini");
  EXPECT_FALSE(profile.FileExists("D:\\Tools\\folder.ini"));
  profile.WriteIniValue("D:\\Tools\\folder.ini", "General", "a", "1");
  EXPECT_FALSE(files.files.count("D:\\Tools\\folder.ini"));
}

}  // namespace
}  // namespace scenewright
