#include <gtest/gtest.h>
#include <time.h>

#include <cmath>
#include <unistd.h>

#include <filesystem>

#include "platform/linux/AutostartRegistry.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/linux/PosixFiles.h"
#include "platform/linux/TempFolder.h"

namespace scenewright::linux_platform {
namespace {

using testing::EntryCount;
using testing::ModeOf;
using testing::ReadBytes;
using testing::ScopedEnv;
using testing::TempFolder;
using testing::WriteBytes;

TEST(PosixFileSystem, ReplacesWholeFilesAndLeavesNoTemporaryFile) {
  TempFolder dir;
  PosixFileSystem files;
  const std::string ini = dir / "scenewright.ini";

  EXPECT_TRUE(files.ReplaceFile(ini, "[General]\r\n"));
  EXPECT_EQ(ReadBytes(ini), "[General]\r\n");
  EXPECT_EQ(ModeOf(ini), 0600u);

  // An existing file keeps its mode across replacements.
  ::chmod(ini.c_str(), 0640);
  EXPECT_TRUE(files.ReplaceFile(ini, "x"));
  EXPECT_EQ(ReadBytes(ini), "x");
  EXPECT_EQ(ModeOf(ini), 0640u);
  EXPECT_EQ(EntryCount(dir.path()), 1u);

  // A link is replaced by the file; what it pointed to is never written.
  WriteBytes(dir / "target", "untouched");
  std::filesystem::create_symlink(dir / "target", dir / "link");
  EXPECT_TRUE(files.ReplaceFile(dir / "link", "new"));
  EXPECT_EQ(ReadBytes(dir / "target"), "untouched");
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "link"));
  EXPECT_EQ(ReadBytes(dir / "link"), "new");
}

TEST(PosixFileSystem, FailedReplacementKeepsTheOldFile) {
  TempFolder dir;
  PosixFileSystem files;
  EXPECT_FALSE(files.ReplaceFile(dir / "missing/wallpaper.dat", "a"));

  const std::string list = dir / "wallpaper.dat";
  WriteBytes(list, "old\r\n");
  if (::geteuid() != 0) {  // root writes into read-only folders anyway
    ::chmod(dir.path().c_str(), 0500);
    EXPECT_FALSE(files.ReplaceFile(list, "new\r\n"));
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(ReadBytes(list), "old\r\n");
  }
  // A directory in the file's place cannot be replaced by a file.
  std::filesystem::create_directory(dir / "folder");
  EXPECT_FALSE(files.ReplaceFile(dir / "folder", "x"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
  EXPECT_EQ(EntryCount(dir.path()), 2u);
}

TEST(PosixFileSystem, ReadsCreatesAndRecognisesOnlyRegularFiles) {
  TempFolder dir;
  PosixFileSystem files;
  const std::string list = dir / "wallpaper.dat";

  EXPECT_FALSE(files.ReadFile(list));
  EXPECT_FALSE(files.IsFile(list));
  EXPECT_TRUE(files.CreateFileIfMissing(list));
  EXPECT_EQ(files.ReadFile(list), std::string());

  WriteBytes(list, "kept");
  EXPECT_TRUE(files.CreateFileIfMissing(list));
  EXPECT_EQ(files.ReadFile(list), std::string("kept"));

  WriteBytes(dir / ".hidden", "h");
  EXPECT_TRUE(files.IsFile(dir / ".hidden"));
  EXPECT_FALSE(files.IsFile(dir.path()));
  EXPECT_FALSE(files.ReadFile(dir.path()));
  EXPECT_FALSE(files.CreateFileIfMissing(dir.path()));
  EXPECT_FALSE(files.IsFile(""));
}

TEST(LinuxProgramInfo, SplitsTheExecutablePathForTheWindowsRules) {
  LinuxProgramInfo installed("/opt/My Tools/scenewright");
  EXPECT_EQ(installed.ProgramFolder(), "/opt/My Tools");
  EXPECT_EQ(installed.ExecutableBaseName(), "scenewright");
  EXPECT_EQ(installed.ProgramFolder() + installed.PathSeparator() + installed.ExecutableBaseName() +
                installed.ExecutableExtension(),
            "/opt/My Tools/scenewright");
  // A dot in the name is not an extension to lose.
  EXPECT_EQ(LinuxProgramInfo("/usr/bin/scenewright.bin").ExecutableBaseName(), "scenewright.bin");
  EXPECT_EQ(LinuxProgramInfo("/scenewright").ProgramFolder(), "");

  LinuxProgramInfo running;
  EXPECT_EQ(running.ProgramFolder() + "/" + running.ExecutableBaseName(),
            std::filesystem::canonical("/proc/self/exe").string());
}

TEST(LinuxClock, CountsLocalTimeNotUniversalTime) {
  ScopedEnv zone("TZ", "XYZ-5");  // five hours east of UTC, no daylight saving
  ::tzset();
  const double expected = std::fmod(static_cast<double>(::time(nullptr)) + 5 * 3600, 86400.0);
  const float seconds = LinuxClock().SecondsSinceMidnight();
  ::unsetenv("TZ");
  ::tzset();
  EXPECT_NEAR(seconds, expected, 2.0);
}

TEST(PosixFileSystem, MakesThePrivateFolderForTheUsersFiles) {
  TempFolder dir;
  PosixFileSystem files;
  EXPECT_TRUE(files.MakePrivateFolder(dir / "new/scenewright"));
  EXPECT_EQ(ModeOf(dir / "new"), 0700u);
  ::mkdir((dir / "old").c_str(), 0755), ::mkdir((dir / "old/scenewright").c_str(), 0755);  // made by hand
  EXPECT_TRUE(files.MakePrivateFolder(dir / "old/scenewright"));
  EXPECT_EQ(ModeOf(dir / "old"), 0755u);  // a parent that exists is not the program's to change
  EXPECT_EQ(ModeOf(dir / "old/scenewright"), 0700u);
  EXPECT_EQ(EntryCount(dir / "old/scenewright"), 0u);  // the write test leaves nothing
  EXPECT_FALSE(files.MakePrivateFolder("relative/scenewright"));
  ScopedEnv config("XDG_CONFIG_HOME", "relative"), home("HOME", "/home/ann");
  EXPECT_EQ(LinuxProgramInfo("/usr/bin/scenewright").UserDataFolder(), "/home/ann/.config/scenewright");
}

// --- Start at logon -------------------------------------------------------------------

constexpr const char* kRunKey = "software\\microsoft\\windows\\currentversion\\run\\";
constexpr const char* kRunKeyDelete = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";

TEST(AutostartRegistry, WritesTheEntryForTheRunValueAndRemovesIt) {
  TempFolder dir;
  AutostartRegistry registry(dir / "autostart", dir / "home/.config/autostart");
  EXPECT_TRUE(registry.SetRegistryValue(RegistryRoot::LocalMachine, kRunKey, "Scenewright",
                                        "/usr/local/bin/scenewright"));
  EXPECT_EQ(ReadBytes(dir / "autostart/scenewright.desktop"),
            "[Desktop Entry]\nType=Application\nName=Scenewright\nExec=/usr/local/bin/scenewright\n");
  EXPECT_EQ(ModeOf(dir / "autostart/scenewright.desktop"), 0644u);

  // The storage layer's Windows quoting of a path with a space is undone before escaping.
  EXPECT_TRUE(registry.SetRegistryValue(RegistryRoot::LocalMachine, kRunKey, "Scenewright",
                                        "\"/opt/My Tools/scenewright\""));
  EXPECT_EQ(ReadBytes(dir / "autostart/scenewright.desktop"),
            "[Desktop Entry]\nType=Application\nName=Scenewright\nExec=\"/opt/My Tools/scenewright\"\n");
  EXPECT_EQ(EntryCount(dir / "autostart"), 1u);

  // The user's own entry: the same text in the user's folder, made as needed.
  EXPECT_TRUE(registry.SetRegistryValue(RegistryRoot::CurrentUser, kRunKey, "Scenewright", "/x"));
  EXPECT_EQ(ReadBytes(dir / "home/.config/autostart/scenewright.desktop"),
            "[Desktop Entry]\nType=Application\nName=Scenewright\nExec=/x\n");
  registry.DeleteRegistryValue(RegistryRoot::CurrentUser, kRunKeyDelete, "Scenewright");
  EXPECT_EQ(EntryCount(dir / "home/.config/autostart"), 0u);

  // Other keys and values are not start-at-logon and are left alone.
  EXPECT_FALSE(registry.SetRegistryValue(RegistryRoot::LocalMachine, "software\\other\\", "Scenewright", "/x"));
  EXPECT_FALSE(registry.SetRegistryValue(RegistryRoot::LocalMachine, kRunKey, "Other", "/x"));
  registry.DeleteRegistryValue(RegistryRoot::LocalMachine, kRunKey, "Other");
  EXPECT_TRUE(std::filesystem::exists(dir / "autostart/scenewright.desktop"));

  registry.DeleteRegistryValue(RegistryRoot::LocalMachine, kRunKeyDelete, "Scenewright");
  EXPECT_FALSE(std::filesystem::exists(dir / "autostart/scenewright.desktop"));
  registry.DeleteRegistryValue(RegistryRoot::LocalMachine, kRunKeyDelete, "Scenewright");  // harmless
}

TEST(AutostartRegistry, EscapesTheExecAsTheDesktopEntryRulesRequire) {
  // Plain paths stay unquoted; "%" is doubled everywhere.
  EXPECT_EQ(DesktopEntryExec("/opt/100%/scenewright"), "/opt/100%%/scenewright");
  // Reserved characters quote the argument; inside the quotes " ` $ and \ are escaped, and
  // then the string-value rules double every backslash once more.
  EXPECT_EQ(DesktopEntryExec("/a b/x"), "\"/a b/x\"");
  EXPECT_EQ(DesktopEntryExec("/a\"b/x"), R"("/a\\"b/x")");
  EXPECT_EQ(DesktopEntryExec("/a\\b/x"), R"("/a\\\\b/x")");
  EXPECT_EQ(DesktopEntryExec("/a$b`c/x"), R"("/a\\$b\\`c/x")");
  EXPECT_EQ(DesktopEntryExec("/it's (new)/x"), "\"/it's (new)/x\"");
  EXPECT_EQ(DesktopEntryExec("/a\tb\nc"), "\"/a\\tb\\nc\"");
  EXPECT_EQ(DesktopEntryExec("/Bilder/Grüße %d"), "\"/Bilder/Grüße %%d\"");
  // What a desktop entry cannot hold is not written at all.
  EXPECT_EQ(DesktopEntryExec("/bad\x01name"), std::nullopt);
  EXPECT_EQ(DesktopEntryExec("/latin1-\xE9"), std::nullopt);
  EXPECT_EQ(DesktopEntryExec(""), std::nullopt);

  TempFolder dir;
  AutostartRegistry registry(dir.path(), dir.path());
  EXPECT_FALSE(registry.SetRegistryValue(RegistryRoot::LocalMachine, kRunKey, "Scenewright", "/latin1-\xE9"));
  EXPECT_EQ(EntryCount(dir.path()), 0u);
}

TEST(AutostartRegistry, UsesTheFirstSystemConfigFolder) {
  {
    ScopedEnv dirs("XDG_CONFIG_DIRS", "/etc/xdg/custom/:/etc/xdg");
    EXPECT_EQ(SystemAutostartFolder(), "/etc/xdg/custom/autostart");
  }
  {
    ScopedEnv dirs("XDG_CONFIG_DIRS", "relative:/etc/xdg");
    EXPECT_EQ(SystemAutostartFolder(), "/etc/xdg/autostart");
  }
  ScopedEnv dirs("XDG_CONFIG_DIRS", nullptr);
  EXPECT_EQ(SystemAutostartFolder(), "/etc/xdg/autostart");
}

}  // namespace
}  // namespace scenewright::linux_platform
