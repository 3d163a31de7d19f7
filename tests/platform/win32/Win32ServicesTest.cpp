// The Win32 services against the system's own functions (Wine's, in the test run).

#include <windows.h>

#include <gtest/gtest.h>

#include <olectl.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "TempFolder.h"
#include "fakes/FakeServices.h"
#include "platform/TemporaryName.h"
#include "platform/win32/PictureHeader.h"
#include "platform/win32/Win32Services.h"
#include "storage/PortableProfileFile.h"
#include "storage/StartAtLogon.h"

namespace scenewright::win32 {
namespace {

using namespace testing;

const std::string kPictures = SCENEWRIGHT_TEST_PICTURES;

// A text value, "<none>" when it is missing and "<bad>" when it is not a REG_SZ whose stored
// size counts the terminating zero, as its readers expect.
std::string RegistryText(HKEY root, const char* key, const char* name) {
  char data[1024] = {};
  DWORD size = sizeof(data), type = 0;
  const bool found = RegGetValueA(root, key, name, RRF_RT_ANY, &type, data, &size) == ERROR_SUCCESS;
  return !found ? "<none>" : type != REG_SZ || size != std::strlen(data) + 1 ? "<bad>" : std::string(data);
}

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
std::string RunValue(HKEY root) { return RegistryText(root, kRunKey, "Scenewright"); }

// Machine-wide, quoted when the path has a space, and this user's old value goes (or the program
// would start twice); for this user when the machine-wide key refuses every change (no
// administrator), unless the machine-wide value already starts this very program.
TEST(Win32RegistryTest, RunValueIsWrittenOnceMachineWideOrForThisUser) {
  struct NoAdministrator final : Registry {  // reads everything, changes only this user's values
    Win32Registry real;
    bool SetRegistryValue(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) override {
      return root != RegistryRoot::LocalMachine && real.SetRegistryValue(root, key, name, text);
    }
    void DeleteRegistryValue(RegistryRoot root, const std::string& key, const std::string& name) override {
      if (root != RegistryRoot::LocalMachine) real.DeleteRegistryValue(root, key, name);
    }
    bool HoldsRegistryValue(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) override {
      return real.HoldsRegistryValue(root, key, name, text);
    }
  } ordinary;
  Win32Registry elevated;
  const std::string spaced = "\"C:\\Program Files\\Scene Wright\\Scenewright.exe\"", tools = "D:\\Tools\\Scenewright.exe";
  // Each run: who, from which folder; then the machine-wide and this user's value.
  using Run = std::tuple<Registry*, const char*, std::string, std::string>;
  const std::vector<Run> orders[] = {
      {{&elevated, "C:\\Program Files\\Scene Wright", spaced, "<none>"}, {&ordinary, "C:\\Program Files\\Scene Wright", spaced, "<none>"}},
      {{&ordinary, "D:\\Tools", "<none>", tools}, {&elevated, "D:\\Tools", tools, "<none>"}, {&ordinary, "D:\\Tools", tools, "<none>"}},
      {{&elevated, "D:\\Tools", tools, "<none>"}, {&ordinary, "E:\\Moved", tools, "E:\\Moved\\Scenewright.exe"}},
  };
  FakeSystem program;
  for (const auto& runs : orders) {
    for (const auto& [registry, folder, machineValue, userValue] : runs) {
      SCOPED_TRACE(std::string(registry == &elevated ? "elevated in " : "ordinary in ") + folder);
      elevated.SetRegistryValue(RegistryRoot::CurrentUser, kRunKey, "Scenewright", folder);  // an old one of this user's
      program.folder = folder;
      RegisterStartAtLogon(*registry, program);
      EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), machineValue);
      EXPECT_EQ(RunValue(HKEY_CURRENT_USER), userValue);
    }
    UnregisterStartAtLogon(elevated);
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE) + RunValue(HKEY_CURRENT_USER), "<none><none>");
  }
  // The machine-wide value in another spelling of this program (8.3 form, letter case): this user's goes.
  TempFolder temp;
  const std::string folder = temp / "Scene Wright Folder";
  std::string upper = folder, shortFolder(MAX_PATH, '\0');
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) && CloseHandle(CreateFileA((folder + "\\Scenewright.exe").c_str(),
      GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)) && GetShortPathNameA(folder.c_str(), shortFolder.data(), MAX_PATH));
  for (const std::string& spelling : {std::string(shortFolder.c_str()), std::string(CharUpperA(upper.data()))}) {
    elevated.SetRegistryValue(RegistryRoot::LocalMachine, kRunKey, "Scenewright", folder + "\\Scenewright.exe");
    elevated.SetRegistryValue(RegistryRoot::CurrentUser, kRunKey, "Scenewright", "x");
    program.folder = spelling;
    RegisterStartAtLogon(ordinary, program);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "<none>") << spelling;
  }
  UnregisterStartAtLogon(elevated);
  Win32ProgramInfo self;  // the running executable's path, put together from its folder, base name and extension
  EXPECT_EQ(RunValueData(self), Win32ProgramInfo::ModulePath());
}

TEST(Win32PicturesTest, EveryKindBecomesTheWallpaperFailuresChangeNothingAndPicturesAreKnownByContent) {
  TempFolder folder;
  Win32Pictures pictures;
  const std::string bitmap = folder / "scenewright.bmp";
  // The colour of each quadrant, left to right and top to bottom.
  const COLORREF lime = RGB(0, 255, 0), blue = RGB(0, 0, 255), yellow = RGB(255, 255, 0);
  const std::array<COLORREF, 4> quadrants{RGB(255, 0, 0), lime, blue, RGB(255, 255, 255)};
  const auto expectQuadrants = [](HDC dc, int width, int height, const std::array<COLORREF, 4>& colours) {
    for (int q = 0; q < 4; ++q) {
      const COLORREF seen = GetPixel(dc, width * (1 + q % 2 * 2) / 4, height * (1 + q / 2 * 2) / 4);
      for (int shift : {0, 8, 16}) EXPECT_NEAR((seen >> shift) & 0xFF, (colours[q] >> shift) & 0xFF, 40) << q;
    }
  };
  std::vector<std::tuple<std::string, int, int, std::array<COLORREF, 4>>> cases = {
      {"red.jpg", 37, 23, quadrants}, {"lime.gif", 19, 41, {lime, lime, lime, lime}},
      {"blue.bmp", 29, 31, {blue, blue, blue, blue}}, {"yellow.tif", 23, 17, {yellow, yellow, yellow, yellow}},
      {"clear.gif", 19, 41, {0, RGB(255, 0, 0), 0, RGB(255, 0, 0)}}};  // transparent: black, whatever the palette says
  // Stored turned or mirrored, seen upright: every EXIF orientation, and a quarter turn in TIFF and PNG.
  for (const char* turned : {"turn1.jpg", "turn2.jpg", "turn3.jpg", "turn4.jpg", "turn5.jpg", "turn6.jpg", "turn7.jpg",
                             "turn8.jpg", "turn6.tif", "turn6.png"}) cases.emplace_back(turned, 40, 24, quadrants);
  for (const auto& [file, width, height, colours] : cases) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(pictures.LoadStagingPicture(kPictures + "/" + file));
    ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(bitmap));
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageA(nullptr, bitmap.c_str(), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(loaded, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(std::tuple(dib.dsBm.bmWidth, dib.dsBm.bmHeight, dib.dsBm.bmBitsPixel), std::tuple(width, height, 24));
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, loaded);
    expectQuadrants(dc, width, height, colours);
    DeleteDC(dc);
    DeleteObject(loaded);
  }
  {  // The preview draws the same picture, upright.
    PicturePtr preview = LoadPictureFile(kPictures + "/turn6.jpg");
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    ASSERT_TRUE(preview && SUCCEEDED(preview->get_Width(&hmWidth)) && SUCCEEDED(preview->get_Height(&hmHeight)));
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 40, 24);
    SelectObject(dc, canvas);
    ASSERT_TRUE(SUCCEEDED(preview->Render(dc, 0, 0, 40, 24, 0, hmHeight, hmWidth, -hmHeight, nullptr)));
    expectQuadrants(dc, 40, 24, quadrants);
    DeleteDC(dc), DeleteObject(canvas), ReleaseDC(nullptr, screen);
  }
  const std::string before = ReadBytes(bitmap);
  // Broken files, and files declaring pictures that would not fit the memory budget beside
  // their decoders' own memory: refused from the header, before anything is allocated.
  const std::vector<std::string> declared = {"baseline-20000.jpg", "progressive-8000.jpg", "progressive-10000x17800.jpg",
                                             "wrap-40000.bmp", "rgba16-12000x14800.png", "screen-60000.gif"};
  for (const std::string& bad : {kPictures + "/truncated.jpg", kPictures + "/truncated.png", kPictures + "/huge.tif",
                                 folder / "absent.gif", std::string()}) {
    EXPECT_FALSE(pictures.LoadStagingPicture(bad)) << bad;
  }
  for (const std::string& large : declared) {
    EXPECT_FALSE(pictures.LoadStagingPicture(kPictures + "/" + large) || pictures.IsPicture(kPictures + "/" + large)) << large;
  }
  PROCESS_MEMORY_COUNTERS memory{};
  ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory));
  EXPECT_LT(memory.PeakWorkingSetSize, std::size_t{160} << 20);
  // The staging picture is still the last one that loaded.
  ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(bitmap));
  EXPECT_EQ(ReadBytes(bitmap), before);
  EXPECT_FALSE(pictures.SaveStagingPictureAsBitmap(folder / "no-such-folder\\scenewright.bmp"));
  EXPECT_EQ(EntryCount(folder.path()), 1u);  // no temporary file left beside the bitmap

  Win32Desktop desktop;
  EXPECT_EQ(desktop.BitmapFileCandidates(),
            (std::vector<std::string>{"C:\\scenewright.bmp", std::getenv("LOCALAPPDATA") + std::string("\\scenewright.bmp")}));
  desktop.SetWallpaper(bitmap);
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"), bitmap);
  desktop.SetWallpaper("");

  // Wine's system loader reads PNG too, Windows' own does not: the imaging component's path
  // itself. Transparent pixels come out over black, whatever colour they hide.
  PicturePtr picture = LoadPictureWithWic(ReadBytes(kPictures + "/alpha.png"));
  OLE_HANDLE handle = 0;
  DIBSECTION dib{};
  ASSERT_TRUE(picture && SUCCEEDED(picture->get_Handle(&handle)));
  ASSERT_EQ(GetObjectA(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof dib, &dib), int{sizeof dib});
  const auto* row = static_cast<const BYTE*>(dib.dsBm.bmBits);  // half-transparent red, then transparent cyan
  EXPECT_EQ(std::vector<int>(row, row + 18), (std::vector<int>{0, 0, 127, 0, 0, 127, 0, 0, 127, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  for (const char* bad : {"truncated.png", "huge.tif", "absent"}) EXPECT_FALSE(LoadPictureWithWic(ReadBytes(kPictures + "/" + bad))) << bad;
  // A dropped folder: the files directly inside it, each known as a picture by its content.
  Win32FileSystem files;
  CreateDirectoryA((folder / "sub.png").c_str(), nullptr);
  WriteBytes(folder / "text.jpg", "no picture");
  for (const char* name : {"yellow.tif", "alpha.png", "red.jpg"}) WriteBytes(folder / name, ReadBytes(kPictures + "/" + name));
  auto inside = files.FilesInFolder(folder.path()).value_or(std::vector<std::string>{});
  std::sort(inside.begin(), inside.end());
  EXPECT_EQ(inside, (std::vector{folder / "alpha.png", folder / "red.jpg", bitmap, folder / "text.jpg", folder / "yellow.tif"}));
  for (const auto& path : inside) EXPECT_EQ(pictures.IsPicture(path), path != folder / "text.jpg") << path;
  EXPECT_FALSE(files.FilesInFolder(folder / "red.jpg") || files.FilesInFolder(folder / "absent") || pictures.IsPicture(folder / "sub.png"));
  // The dialog offers each kind once; each has a file of its kind that a drop keeps and the loader shows.
  const std::vector<std::string> offered = pictures.FilePatterns();
  for (const char* kind : {"*.bmp", "*.jpg", "*.gif", "*.ico", "*.wmf", "*.emf", "*.png", "*.tif", "*.tiff"}) EXPECT_EQ(std::ranges::count(offered, kind), 1) << kind;
  for (const std::string& kind : offered) {
    const std::string sample = kPictures + "/kind" + kind.substr(1);
    EXPECT_TRUE(pictures.IsPicture(sample) && pictures.LoadStagingPicture(sample) && pictures.SaveStagingPictureAsBitmap(bitmap)) << kind;
  }
  // A legitimate 80-megapixel photo still becomes the wallpaper.
  ASSERT_TRUE(pictures.LoadStagingPicture(kPictures + "/photo-10000x8000.jpg") && pictures.SaveStagingPictureAsBitmap(bitmap));
  EXPECT_EQ(ReadBytes(bitmap).substr(18, 8), std::string("\x10\x27\0\0\x40\x1f\0\0", 8));
}

// An orientation is read from a well-formed directory only; anything else leaves the picture as stored.
TEST(PictureHeaderTest, CorruptOrOutOfRangeOrientationsAreIgnored) {
  // A JPEG with one Exif block: a little-endian TIFF header, then `count` entries of tag 274.
  const auto jpeg = [](std::uint16_t type, std::uint16_t value, std::uint32_t directory, std::uint16_t count, int cut = 0) {
    std::string tiff("II*\0", 4);
    const auto put = [&tiff](std::uint32_t n, int bytes) { for (int i = 0; i < bytes; ++i) tiff += static_cast<char>(n >> 8 * i); };
    put(directory, 4), put(count, 2), put(274, 2), put(type, 2), put(1, 4), put(value, 4);
    tiff = "Exif" + std::string(2, '\0') + tiff.substr(0, tiff.size() - cut);
    return std::string("\xFF\xD8\xFF\xE1", 4) + static_cast<char>((tiff.size() + 2) >> 8) + static_cast<char>(tiff.size() + 2) + tiff;
  };
  // The same directory in a WebP's EXIF chunk (the imaging component under Wine reads no WebP).
  const std::string tiff = jpeg(3, 8, 8, 1).substr(12);
  const std::string webp = std::string("RIFF\0\0\0\0WEBPEXIF", 16) + static_cast<char>(tiff.size()) + std::string(3, '\0') + tiff;
  const std::pair<std::string, int> cases[] = {
      {webp, 8}, {webp.substr(0, 30), 1}, {jpeg(3, 6, 8, 1), 6}, {jpeg(3, 9, 8, 1), 1}, {jpeg(3, 0, 8, 1), 1}, {jpeg(4, 6, 8, 1), 1},
      {jpeg(3, 6, 0xFFFFFFF0, 1), 1}, {jpeg(3, 6, 8, 0xFFFF), 6}, {jpeg(3, 6, 8, 1, 3), 1},
      {jpeg(3, 6, 8, 1).substr(0, 20), 1}, {"II*", 1}, {"", 1}};
  for (const auto& [file, orientation] : cases) EXPECT_EQ(ExifOrientation(file), orientation) << ::testing::PrintToString(file);
}

// Two lists of different lengths, saved in turn until the test below (the slowest, so last) kills the process.
const std::string kLists[] = {std::string(300000, 'a') + "\r\n", std::string(70000, 'b') + "\r\n"};
TEST(Win32FilesTest, DISABLED_SavesUntilKilled) {
  for (unsigned turn = 0;; ++turn) Win32FileSystem().ReplaceFile(std::getenv("SCENEWRIGHT_SAVE_TO"), kLists[turn % 2]);
}

// Whole files replaced (even by a killed save), only the leftovers of programs that no longer
// run removed; then the profile functions write, read and find files as the portable engine does.
TEST(Win32FilesTest, ReplacesWholeFilesRemovesOnlyItsOwnLeftoversAndReadsProfilesAsThePortableEngine) {
  TempFolder folder;
  Win32FileSystem files;
  const std::string list = folder / "wallpaper.dat", bytes("a.jpg\r\nb\0c.gif\r\n", 16);
  ASSERT_TRUE(files.ReplaceFile(list, bytes));
  EXPECT_TRUE(files.CreateFileIfMissing(list));  // an existing file is left as it is
  EXPECT_EQ(files.ReadFile(list), bytes);
  // A file at a temporary's name is never written through; start-up removes the temporaries
  // of programs that no longer run (a second program's save in progress stays), and nothing else.
  const std::string leftover = folder / TemporaryName("wallpaper.dat", TemporaryHost(), GetCurrentProcessId(), 0);
  WriteBytes(leftover, "left over");
  ASSERT_TRUE(files.ReplaceFile(list, bytes));
  EXPECT_EQ(files.ReadFile(leftover), "left over");
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION second{};
  const auto end = [&] { TerminateProcess(second.hProcess, 1), WaitForSingleObject(second.hProcess, INFINITE);
                         CloseHandle(second.hProcess), CloseHandle(second.hThread); };
  char command[] = "cmd.exe /c exit";
  ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW,
                             nullptr, nullptr, &startup, &second));
  const std::string running = TemporaryName("scenewright.bmp", TemporaryHost(), second.dwProcessId, 3);
  WriteBytes(folder / running, "");
  // Another machine's temporary (sharing the folder) is its own to judge, whatever its process id.
  for (const std::string& other : std::initializer_list<std::string>{"wallpaper.dat.2024-05-01.tmp", ".wallpaper.dat.backup", "other.dat.12.tmp",
                                   ".wallpaper.dat.~scenewright-1a-0.tmp", TemporaryName("wallpaper.dat", "OTHER-PC", 9, 0)})
    WriteBytes(folder / other, "");
  files.RemoveLeftovers(list);
  EXPECT_EQ(EntryCount(folder.path()), 7u);  // the list and the six others
  end();
  files.RemoveLeftovers(folder / "scenewright.bmp");  // its program has ended now
  EXPECT_EQ(EntryCount(folder.path()), 6u);

  // A folder in the way: the write fails, and nothing is left behind.
  const std::string blocked = folder / "blocked";
  CreateDirectoryA(blocked.c_str(), nullptr);
  for (const std::string& path : {blocked, folder / "missing-folder\\x.dat"}) EXPECT_FALSE(files.ReplaceFile(path, "data"));
  EXPECT_FALSE(files.ReadFile(blocked).has_value() || files.CreateFileIfMissing(blocked));
  EXPECT_EQ(EntryCount(folder.path()), 7u);  // the list, the five others and the folder: nothing new

  // The user's own folder is made, and the test whether it takes files leaves nothing in it.
  EXPECT_TRUE(files.MakePrivateFolder(blocked + "\\Scenewright"));
  EXPECT_EQ(EntryCount(blocked + "\\Scenewright"), 0u);

  Win32ProfileFile system;
  PortableProfileFile portable(files);
  const std::string viaSystem = folder / "system.ini", viaPortable = folder / "portable.ini";
  // First-run defaults, then what Save and shut-down write later.
  for (auto [key, value] : {std::pair{"autostart", "1"}, {"newonstart", "1"}, {"random", "0"}, {"interval", "3600"},
                            {"currentindex", "-1"}, {"interval", "5400"}, {"currentindex", "12"}}) {
    system.WriteIniValue(viaSystem, "General", key, value);
    portable.WriteIniValue(viaPortable, "General", key, value);
    ASSERT_EQ(ReadBytes(viaSystem), ReadBytes(viaPortable)) << "after writing " << key << "=" << value;
  }
  const std::string edited[] = {
      "[General]\r\nautostart = 1 \r\nNewOnStart=0\r\n;random=1\r\ninterval=90\r\n", "[ general ]\ninterval='45'\ncurrentindex=\"3\"\nrandom=\"1'\n",
      "junk before\r\n[Other]\r\ninterval=1\r\n[General]\r\ninterval=2\r\ninterval=3\r\n[General]\r\nrandom=1\r\n",
      "[General]\r\ncurrentindex=" + std::string(300, '7') + "\r\nrandom=\r\n",
  };
  for (const auto& text : edited) {
    ASSERT_TRUE(files.ReplaceFile(viaSystem, text));
    for (const char* key : {"autostart", "newonstart", "random", "interval", "currentindex", "missing"}) {
      EXPECT_EQ(system.ReadIniValue(viaSystem, "General", key), portable.ReadIniValue(viaSystem, "General", key))
          << "key " << key << " in:\n" << text;
    }
  }

  // Hidden and system files count; a folder, a pattern that some file matches, and no name do not.
  CreateDirectoryA((folder / "folder.ini").c_str(), nullptr);
  SetFileAttributesA(viaSystem.c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(viaPortable.c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  for (const std::string& path : {viaSystem, viaPortable, folder / "folder.ini", folder / "absent.ini",
                                  folder / "*.ini", folder / "no-such-folder\\system.ini", std::string()}) {
    const bool exists = path == viaSystem || path == viaPortable;
    EXPECT_EQ(std::pair(system.FileExists(path), portable.FileExists(path)), std::pair(exists, exists)) << path;
  }

  // A save killed at any moment leaves one whole list, and nothing that trips the next save.
  SetEnvironmentVariableA("SCENEWRIGHT_SAVE_TO", list.c_str());
  std::string saver = "\"" + Win32ProgramInfo::ModulePath() + "\" --gtest_also_run_disabled_tests --gtest_filter=*SavesUntilKilled";
  for (int kill = 0; kill < 16; ++kill) {
    files.RemoveFile(list);
    ASSERT_TRUE(CreateProcessA(nullptr, saver.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &second));
    for (int waited = 0; waited < 20000 && !files.IsFile(list); ++waited) Sleep(1);  // until its first save
    Sleep(kill % 8);
    end();
    const std::string now = ReadBytes(list);
    ASSERT_TRUE(now == kLists[0] || now == kLists[1]) << "after kill " << kill << ": " << now.size() << " bytes";
  }
  EXPECT_TRUE(files.ReplaceFile(list, kLists[0]));
}

}  // namespace
}  // namespace scenewright::win32
