#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "TempFolder.h"
#include "platform/linux/AutostartRegistry.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/linux/PosixFiles.h"

namespace scenewright::linux_platform {
namespace {

using namespace scenewright::testing;
namespace fs = std::filesystem;

TEST(PosixFileSystem, ReplacesWholeFilesKeepsTheModeNeverFollowsALinkAndMakesPrivateFolders) {
  TempFolder dir;
  PosixFileSystem files;
  const std::string ini = dir / "scenewright.ini";
  EXPECT_TRUE(files.ReplaceFile(ini, "[General]\r\n"));
  EXPECT_EQ(ModeOf(ini), 0600u);
  ::chmod(ini.c_str(), 0640);
  EXPECT_TRUE(files.ReplaceFile(ini, "x"));
  EXPECT_EQ(files.ReadFile(ini), std::string("x"));
  EXPECT_EQ(ModeOf(ini), 0640u);

  WriteBytes(dir / "target", "untouched");
  fs::create_symlink(dir / "target", dir / "link");
  EXPECT_TRUE(files.ReplaceFile(dir / "link", "new"));
  EXPECT_EQ(ReadBytes(dir / "target"), "untouched");
  EXPECT_FALSE(fs::is_symlink(dir / "link"));

  // A folder is no file, and a missing folder no place for one.
  fs::create_directory(dir / "folder");
  EXPECT_FALSE(files.IsFile(dir / "folder"));
  EXPECT_FALSE(files.ReplaceFile(dir / "missing/wallpaper.dat", "a"));
  EXPECT_EQ(EntryCount(dir.path()), 4u);  // no temporary file left

  EXPECT_TRUE(files.MakePrivateFolder(dir / "new/scenewright"));
  EXPECT_EQ(ModeOf(dir / "new"), 0700u);
  ::mkdir((dir / "old").c_str(), 0755), ::mkdir((dir / "old/scenewright").c_str(), 0755);  // made by hand
  EXPECT_TRUE(files.MakePrivateFolder(dir / "old/scenewright"));
  EXPECT_EQ(ModeOf(dir / "old"), 0755u);  // a parent that exists is not the program's to change
  EXPECT_EQ(ModeOf(dir / "old/scenewright"), 0700u);
  EXPECT_EQ(EntryCount(dir / "old/scenewright"), 0u);  // the write test leaves nothing
  EXPECT_FALSE(files.MakePrivateFolder("relative/scenewright"));
  ScopedEnv config("XDG_CONFIG_HOME", (dir / "config").c_str());
  EXPECT_EQ(LinuxProgramInfo().UserDataFolder(), dir / "config/scenewright");
  // Root too keeps no files under /usr, which only the package manager writes.
  for (const auto& [program, mayKeep] : {std::pair{"/usr/bin/sw", false}, {"/usr/local/bin/sw", false}, {"/usrx/sw", true}})
    EXPECT_EQ(LinuxProgramInfo(program).MayKeepFilesInProgramFolder(), mayKeep) << program;
}

constexpr const char* kRunKey = "software\\microsoft\\windows\\currentversion\\run\\";

TEST(AutostartRegistry, WritesTheEntryForTheRunValueOnlyAndRemovesIt) {
  TempFolder dir;
  AutostartRegistry registry(dir / "autostart", dir / "home/autostart");
  const std::string entry = dir / "autostart/scenewright.desktop";
  // The Windows quoting of a path with a space is undone before escaping.
  EXPECT_TRUE(registry.SetRegistryValue(RegistryRoot::LocalMachine, kRunKey, "Scenewright", "\"/opt/My Tools/sw\""));
  EXPECT_EQ(ReadBytes(entry), "[Desktop Entry]\nType=Application\nName=Scenewright\nTryExec=/opt/My Tools/sw\nExec=\"/opt/My Tools/sw\"\n");
  EXPECT_EQ(ModeOf(entry), 0644u);
  // Only the same command is held (the per-user entry is then left out).
  for (const char* command : {"\"/opt/My Tools/sw\"", "/opt/My Tools/sw2"})
    EXPECT_EQ(registry.HoldsRegistryValue(RegistryRoot::LocalMachine, kRunKey, "Scenewright", command), command[0] == '"');
  // The user's own entry: the same text in the user's folder, made as needed.
  EXPECT_TRUE(registry.SetRegistryValue(RegistryRoot::CurrentUser, kRunKey, "Scenewright", "/x"));
  EXPECT_EQ(ReadBytes(dir / "home/autostart/scenewright.desktop"),
            "[Desktop Entry]\nType=Application\nName=Scenewright\nTryExec=/x\nExec=/x\n");
  registry.DeleteRegistryValue(RegistryRoot::CurrentUser, kRunKey, "Scenewright");
  EXPECT_EQ(EntryCount(dir / "home/autostart"), 0u);
  registry.DeleteRegistryValue(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\", "Scenewright");
  EXPECT_FALSE(fs::exists(entry));
}

TEST(AutostartRegistry, EscapesTheExecAsTheDesktopEntryRulesRequire) {
  // "%" is doubled; reserved characters quote the argument, inside which " ` $ and \ are
  // escaped, and then the string-value rules double every backslash once more.
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"/opt/100%/sw", "/opt/100%%/sw"},      {"/a\"b/x", R"("/a\\"b/x")"},
      {"/a\\b/x", R"("/a\\\\b/x")"},          {"/a$b`c/x", R"("/a\\$b\\`c/x")"},
      {"/it's (new)/x", "\"/it's (new)/x\""}, {"/a\tb\nc", "\"/a\\tb\\nc\""},
      {"/Grüße %d", "\"/Grüße %%d\""},        {"/bad\x01name", std::nullopt},
      {"/latin1-\xE9", std::nullopt},         {"", std::nullopt},
  };
  for (const auto& [path, exec] : cases) EXPECT_EQ(DesktopEntryExec(path), exec) << path;
  EXPECT_NE(AutostartEntryText("/a\\b\tc")->find("\nTryExec=/a\\\\b\\tc\n"), std::string::npos);  // a string value's escapes
}

}  // namespace
}  // namespace scenewright::linux_platform
