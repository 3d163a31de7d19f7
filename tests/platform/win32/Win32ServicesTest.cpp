// The Win32 services against the system's own functions (Wine's, in the test run).

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/win32/Win32Services.h"
#include "storage/PortableProfileFile.h"
#include "storage/StartAtLogon.h"

namespace scenewright::win32 {
namespace {

namespace fs = std::filesystem;

const std::string kPictures = SCENEWRIGHT_TEST_PICTURES;

// A fresh folder under the temporary folder, removed with everything in it afterwards.
class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    path_ = (fs::temp_directory_path() /
             ("scenewright-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter)))
                .string();
    fs::create_directory(path_);
  }
  ~TempFolder() {
    for (const auto& entry : fs::recursive_directory_iterator(path_)) {
      SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(path_);
  }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::string Slurp(const std::string& path) { return Win32FileSystem().ReadFile(path).value_or("<missing>"); }

long FilesIn(const std::string& folder) {
  return std::count_if(fs::directory_iterator(folder), fs::directory_iterator(),
                       [](const fs::directory_entry& entry) { return entry.is_regular_file(); });
}

TEST(Win32ProfileFileTest, WritesTheSameBytesAsThePortableEngine) {
  TempFolder folder;
  Win32FileSystem files;
  Win32ProfileFile system;
  PortableProfileFile portable(files);
  const std::string viaSystem = folder / "system.ini";
  const std::string viaPortable = folder / "portable.ini";
  // First-run defaults, then what Save and shut-down write later.
  const std::pair<const char*, const char*> writes[] = {
      {"autostart", "1"}, {"newonstart", "1"}, {"random", "0"},     {"interval", "3600"},
      {"currentindex", "-1"}, {"interval", "5400"}, {"random", "1"}, {"currentindex", "12"},
  };
  for (const auto& [key, value] : writes) {
    system.WriteIniValue(viaSystem, "General", key, value);
    portable.WriteIniValue(viaPortable, "General", key, value);
    ASSERT_EQ(Slurp(viaSystem), Slurp(viaPortable)) << "after writing " << key << "=" << value;
  }
  EXPECT_EQ(Slurp(viaSystem),
            "[General]\r\nautostart=1\r\nnewonstart=1\r\nrandom=1\r\ninterval=5400\r\ncurrentindex=12\r\n");
  EXPECT_EQ(system.ReadIniValue(viaPortable, "General", "currentindex"), "12");
  EXPECT_EQ(portable.ReadIniValue(viaSystem, "General", "interval"), "5400");
}

TEST(Win32ProfileFileTest, ReadsHandEditedFilesLikeThePortableEngine) {
  TempFolder folder;
  Win32FileSystem files;
  Win32ProfileFile system;
  PortableProfileFile portable(files);
  const std::string longValue(300, '7');
  const std::string edited[] = {
      "[General]\r\nautostart = 1 \r\nNewOnStart=0\r\n;random=1\r\ninterval=90\r\n",
      "[general]\ninterval=45\ncurrentindex=3\n",
      "junk before\r\n[Other]\r\ninterval=1\r\n[General]\r\ninterval=2\r\ninterval=3\r\n",
      "[General]\r\ncurrentindex=" + longValue + "\r\nrandom=\r\n",
      "",
  };
  const char* keys[] = {"autostart", "newonstart", "random", "interval", "currentindex", "missing"};
  for (const auto& text : edited) {
    const std::string path = folder / "edited.ini";
    ASSERT_TRUE(files.ReplaceFile(path, text));
    for (const char* key : keys) {
      EXPECT_EQ(system.ReadIniValue(path, "General", key), portable.ReadIniValue(path, "General", key))
          << "key " << key << " in:\n" << text;
    }
  }
  EXPECT_EQ(system.ReadIniValue(folder / "absent.ini", "General", "interval"), "");
  EXPECT_EQ(system.ReadIniValue(folder / "edited.ini", "General", "currentindex").size(), 0u);
}

TEST(Win32ProfileFileTest, FileExistsCountsHiddenAndSystemFilesButNotFolders) {
  TempFolder folder;
  Win32FileSystem files;
  Win32ProfileFile profile;
  const std::string plain = folder / "plain.ini";
  const std::string hidden = folder / "hidden.ini";
  const std::string systemFile = folder / "system.ini";
  for (const auto& path : {plain, hidden, systemFile}) ASSERT_TRUE(files.ReplaceFile(path, "[General]\r\n"));
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(systemFile.c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryA((folder / "folder.ini").c_str(), nullptr);

  EXPECT_TRUE(profile.FileExists(plain));
  EXPECT_TRUE(profile.FileExists(hidden));
  EXPECT_TRUE(profile.FileExists(systemFile));
  EXPECT_FALSE(profile.FileExists(folder / "folder.ini"));
  EXPECT_FALSE(profile.FileExists(folder / "absent.ini"));
  EXPECT_FALSE(profile.FileExists(folder / "*.ini"));  // some file matches, but not this name
  EXPECT_FALSE(profile.FileExists(folder / "no-such-folder\\plain.ini"));
  EXPECT_FALSE(profile.FileExists(""));
}

TEST(Win32FileSystemTest, ReplacesWholeFilesAndNeverLeavesATemporaryOne) {
  TempFolder folder;
  Win32FileSystem files;
  const std::string list = folder / "wallpaper.dat";

  EXPECT_FALSE(files.ReadFile(list).has_value());
  EXPECT_FALSE(files.IsFile(list));
  ASSERT_TRUE(files.CreateFileIfMissing(list));
  EXPECT_EQ(files.ReadFile(list), std::string());
  ASSERT_TRUE(files.ReplaceFile(list, std::string("a.jpg\r\nb\0c.gif\r\n", 16)));
  EXPECT_EQ(files.ReadFile(list), std::string("a.jpg\r\nb\0c.gif\r\n", 16));
  EXPECT_TRUE(files.CreateFileIfMissing(list));  // an existing file is left as it is
  EXPECT_EQ(files.ReadFile(list)->size(), 16u);
  // A file at a temporary's name is never written through; start-up removes the program's
  // own leftovers and nothing else.
  const std::string leftover = list + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  ASSERT_TRUE(files.ReplaceFile(leftover, "left over"));
  ASSERT_TRUE(files.ReplaceFile(list, "short"));
  EXPECT_EQ(files.ReadFile(list), "short");
  EXPECT_EQ(files.ReadFile(leftover), "left over");
  for (const char* other : {"wallpaper.dat.tmp", "wallpaper.dat.1a.tmp", "other.dat.12.tmp"}) {
    ASSERT_TRUE(files.ReplaceFile(folder / other, ""));
  }
  files.RemoveLeftovers(list);
  EXPECT_FALSE(files.IsFile(leftover));
  EXPECT_EQ(FilesIn(folder.Path()), 4);

  SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(files.IsFile(list));

  // A folder in the way: the write fails, and nothing is left behind.
  const std::string blocked = folder / "blocked";
  CreateDirectoryA(blocked.c_str(), nullptr);
  EXPECT_FALSE(files.ReplaceFile(blocked, "data"));
  EXPECT_FALSE(files.IsFile(blocked));
  EXPECT_FALSE(files.ReadFile(blocked).has_value());
  EXPECT_FALSE(files.CreateFileIfMissing(blocked));
  EXPECT_FALSE(files.ReplaceFile(folder / "missing-folder\\x.dat", "data"));
  EXPECT_EQ(FilesIn(folder.Path()), 4);  // only the list file and the others
}

// The program's folder as the Run value sees it, for a chosen folder.
class FixedProgram final : public ProgramInfo {
 public:
  explicit FixedProgram(std::string folder) : folder_(std::move(folder)) {}
  std::string ProgramFolder() override { return folder_; }
  std::string ExecutableBaseName() override { return "scenewright"; }
  std::string ExecutableExtension() override { return ".exe"; }
  char PathSeparator() override { return '\\'; }
  std::string ProductName() override { return "Scenewright"; }

 private:
  std::string folder_;
};

std::string RunValue() {
  char data[1024] = {};
  DWORD size = sizeof(data);
  DWORD type = 0;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                   "Scenewright", RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS) {
    return "<none>";
  }
  return type == REG_SZ ? std::string(data) : "<not a string>";
}

TEST(Win32RegistryTest, RunValueIsWrittenQuotedWhenNeededAndRemoved) {
  Win32Registry registry;
  FixedProgram spaced("C:\\Program Files\\Scene Wright");
  FixedProgram plain("D:\\Tools");

  EXPECT_TRUE(RegisterStartAtLogon(registry, spaced));
  EXPECT_EQ(RunValue(), "\"C:\\Program Files\\Scene Wright\\scenewright.exe\"");
  EXPECT_TRUE(RegisterStartAtLogon(registry, plain));
  EXPECT_EQ(RunValue(), "D:\\Tools\\scenewright.exe");

  // The stored size counts the terminating zero, as REG_SZ readers expect.
  DWORD size = 0;
  HKEY run = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                          KEY_READ, &run),
            ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(run, "Scenewright", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  RegCloseKey(run);
  EXPECT_EQ(size, std::strlen("D:\\Tools\\scenewright.exe") + 1);

  UnregisterStartAtLogon(registry);
  EXPECT_EQ(RunValue(), "<none>");
  UnregisterStartAtLogon(registry);  // nothing to delete: harmless
  EXPECT_EQ(RunValue(), "<none>");
}

TEST(Win32RegistryTest, CreatesAMissingKeyWithClassOne) {
  Win32Registry registry;
  const std::string path = "Software\\Scenewright Test " + std::to_string(GetCurrentProcessId()) + "\\";
  ASSERT_TRUE(registry.SetRegistryValue(RegistryRoot::CurrentUser, path, "value", "text"));

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  char keyClass[16] = {};
  DWORD classLength = sizeof(keyClass);
  EXPECT_EQ(RegQueryInfoKeyA(key, keyClass, &classLength, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_STREQ(keyClass, "1");

  registry.DeleteRegistryValue(RegistryRoot::CurrentUser, path, "value");
  char data[16] = {};
  DWORD size = sizeof(data);
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, path.c_str(), "value", RRF_RT_ANY, nullptr, data, &size),
            ERROR_FILE_NOT_FOUND);
  RegDeleteKeyA(HKEY_CURRENT_USER, path.substr(0, path.size() - 1).c_str());
}

struct BmpInfo {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  unsigned fileSize = 0;
  unsigned declaredSize = 0;
  unsigned char blue = 0, green = 0, red = 0;  // the middle pixel
};

BmpInfo ReadBmp(const std::string& bytes) {
  BmpInfo info;
  if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || bytes.compare(0, 2, "BM") != 0) {
    return info;
  }
  BITMAPFILEHEADER file;
  BITMAPINFOHEADER header;
  std::memcpy(&file, bytes.data(), sizeof(file));
  std::memcpy(&header, bytes.data() + sizeof(file), sizeof(header));
  info.width = header.biWidth;
  info.height = header.biHeight;
  info.bitCount = header.biBitCount;
  info.fileSize = static_cast<unsigned>(bytes.size());
  info.declaredSize = file.bfSize;
  const std::size_t row = static_cast<std::size_t>((info.width * 3 + 3) & ~3);
  const std::size_t at = file.bfOffBits + row * static_cast<std::size_t>(info.height / 2) +
                         static_cast<std::size_t>(info.width / 2) * 3;
  if (header.biBitCount == 24 && at + 3 <= bytes.size()) {
    info.blue = static_cast<unsigned char>(bytes[at]);
    info.green = static_cast<unsigned char>(bytes[at + 1]);
    info.red = static_cast<unsigned char>(bytes[at + 2]);
  }
  return info;
}

TEST(Win32PicturesTest, JpegGifAndBmpBecomeBitmapsOfTheSameSize) {
  TempFolder folder;
  Win32Pictures pictures;
  const std::string bitmap = folder / "scenewright.bmp";
  struct Case {
    const char* file;
    int width, height;
    int red, green, blue;
  };
  const Case cases[] = {
      {"red.jpg", 37, 23, 255, 0, 0},
      {"lime.gif", 19, 41, 0, 255, 0},
      {"blue.bmp", 29, 31, 0, 0, 255},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_TRUE(pictures.LoadStagingPicture(kPictures + "/" + c.file));
    ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(bitmap));
    const BmpInfo info = ReadBmp(Slurp(bitmap));
    EXPECT_EQ(info.width, c.width);
    EXPECT_EQ(info.height, c.height);
    EXPECT_EQ(info.bitCount, 24);
    EXPECT_EQ(info.declaredSize, info.fileSize);
    EXPECT_NEAR(info.red, c.red, 40);
    EXPECT_NEAR(info.green, c.green, 40);
    EXPECT_NEAR(info.blue, c.blue, 40);
  }
  EXPECT_EQ(FilesIn(folder.Path()), 1);  // no temporary file left beside it
}

TEST(Win32PicturesTest, APictureThatDoesNotLoadLeavesTheOldBitmapAndStagingPicture) {
  TempFolder folder;
  Win32FileSystem files;
  Win32Pictures pictures;
  const std::string bitmap = folder / "scenewright.bmp";
  const std::string notPicture = folder / "notes.jpg";
  ASSERT_TRUE(files.ReplaceFile(notPicture, "these are words, not a picture"));

  EXPECT_FALSE(pictures.SaveStagingPictureAsBitmap(bitmap));  // nothing staged yet
  EXPECT_FALSE(files.IsFile(bitmap));

  ASSERT_TRUE(pictures.LoadStagingPicture(kPictures + "/red.jpg"));
  ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(bitmap));
  const std::string before = Slurp(bitmap);

  EXPECT_FALSE(pictures.LoadStagingPicture(notPicture));
  EXPECT_FALSE(pictures.LoadStagingPicture(kPictures + "/truncated.jpg"));
  EXPECT_FALSE(pictures.LoadStagingPicture(folder / "absent.gif"));
  EXPECT_FALSE(pictures.LoadStagingPicture(""));
  EXPECT_EQ(Slurp(bitmap), before);

  // The staging picture is still the last one that loaded.
  const std::string again = folder / "again.bmp";
  ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(again));
  EXPECT_EQ(Slurp(again), before);

  // A bitmap path that cannot be written leaves nothing behind.
  EXPECT_FALSE(pictures.SaveStagingPictureAsBitmap(folder / "no-such-folder\\scenewright.bmp"));
}

TEST(Win32DesktopTest, SetWallpaperLeavesTheUserSettingNamingTheBitmap) {
  Win32Desktop desktop;
  const auto candidates = desktop.BitmapFileCandidates();
  ASSERT_EQ(candidates.size(), 2u);
  EXPECT_EQ(candidates[0], "C:\\scenewright.bmp");
  char localAppData[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("LOCALAPPDATA", localAppData, MAX_PATH), 0u);
  EXPECT_EQ(candidates[1], std::string(localAppData) + "\\scenewright.bmp");

  TempFolder folder;
  Win32Pictures pictures;
  const std::string bitmap = folder / "scenewright.bmp";
  ASSERT_TRUE(pictures.LoadStagingPicture(kPictures + "/blue.bmp"));
  ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(bitmap));
  desktop.SetWallpaper(bitmap);

  char wallpaper[MAX_PATH] = {};
  DWORD size = sizeof(wallpaper);
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", RRF_RT_REG_SZ, nullptr,
                         wallpaper, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::string(wallpaper), bitmap);
  desktop.SetWallpaper("");
}

TEST(Win32ProgramInfoTest, DescribesTheRunningExecutableAndItsVersionResource) {
  Win32ProgramInfo program;
  const std::string path = Win32ProgramInfo::ModulePath();
  EXPECT_EQ(program.ProgramFolder() + program.PathSeparator() + program.ExecutableBaseName() +
                program.ExecutableExtension(),
            path);
  EXPECT_EQ(program.ExecutableBaseName(), "scenewright_platform_tests");
  EXPECT_NE(program.ProgramFolder().back(), '\\');
  EXPECT_EQ(program.ProductName(), "Scenewright");
}

}  // namespace
}  // namespace scenewright::win32
