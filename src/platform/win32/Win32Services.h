#pragma once

// The system services of the Windows program, each over the narrow (ANSI) Win32 functions.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Services.h"

struct IPicture;

namespace scenewright::win32 {

class Win32Clock final : public Clock {
 public:
  float SecondsSinceMidnight() override;
};

class Win32ProfileFile final : public ProfileFile {
 public:
  std::string ReadIniValue(const std::string& file, const std::string& section,
                           const std::string& key) override;
  void WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
  bool FileExists(const std::string& path) override;
};

class Win32FileSystem final : public FileSystem {
 public:
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool ReplaceFile(const std::string& path, std::string_view bytes) override;
  bool RemoveFile(const std::string& path) override;
  bool CreateFileIfMissing(const std::string& path) override;
  bool IsFile(const std::string& path) override;
  std::optional<std::vector<std::string>> FilesInFolder(const std::string& folder) override;
  bool CanCreateFilesIn(const std::string& folder) override;
  bool MakePrivateFolder(const std::string& folder) override;
  bool MakeFolderHolding(const std::string& folder,
                         const std::vector<std::pair<std::string, std::string>>& files) override;
  void RemoveLeftovers(const std::string& path) override;
};

// Whether two commands (or paths) name the same file as Windows resolves them: quotes aside,
// completed, each name in its long form, letter case aside.
bool SameProgram(const std::string& command, const std::string& other);

// HoldsRegistryValue compares as SameProgram does: every spelling of the program is one value.
class Win32Registry final : public Registry {
 public:
  bool SetRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                        const std::string& text) override;
  void DeleteRegistryValue(RegistryRoot root, const std::string& keyPath,
                           const std::string& valueName) override;
  bool HoldsRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                          const std::string& text) override;
};

// Releases an IPicture when it goes out of scope.
struct PictureRelease {
  void operator()(IPicture* picture) const;
};
using PicturePtr = std::unique_ptr<IPicture, PictureRelease>;

// Decodes a picture file at its natural size, as it should be seen: icons through the system
// picture loader, everything else through the Windows Imaging Component (BMP, JPEG, GIF, PNG,
// TIFF and whatever other codecs the system has) and what that refuses through the system
// loader (metafiles); null when neither can read it or it would not fit the memory budget.
PicturePtr LoadPictureFile(const std::string& path);

// The Windows Imaging Component's part of the above: the first frame of a picture in memory,
// turned as its EXIF orientation says, transparent pixels drawn over black; null when no codec
// reads it or it would not fit the memory budget.
PicturePtr LoadPictureWithWic(std::string_view bytes);

class Win32Pictures final : public Pictures {
 public:
  Win32Pictures();
  ~Win32Pictures() override;
  Win32Pictures(const Win32Pictures&) = delete;
  Win32Pictures& operator=(const Win32Pictures&) = delete;

  bool LoadStagingPicture(const std::string& path) override;
  bool SaveStagingPictureAsBitmap(const std::string& bitmapPath) override;
  bool IsPicture(const std::string& path) override;
  std::vector<std::string> FilePatterns() override;

 private:
  PicturePtr staging_;
  bool comInitialised_ = false;
};

class Win32Desktop final : public Desktop {
 public:
  std::vector<std::string> BitmapFileCandidates() override;
  void SetWallpaper(const std::string& bitmapPath) override;
};

class Win32ProgramInfo final : public ProgramInfo {
 public:
  std::string ProgramFolder() override;
  std::string ExecutableBaseName() override;
  std::string ExecutableExtension() override { return ".exe"; }
  char PathSeparator() override { return '\\'; }
  std::string ProductName() override;
  // %APPDATA%\Scenewright.
  std::string UserDataFolder() override;

  // The running executable's full path.
  static std::string ModulePath();
};

class Win32Locale final : public Locale {
 public:
  std::string DecimalSeparator() override;
};

// Writes `bytes` to a temporary file beside `path`, flushes it and renames it over `path`;
// on failure the old file is untouched and the temporary file is removed.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// This machine's name as temporaries carry it.
const std::string& TemporaryHost();

// Every Win32 service, owned together; Get() hands them out as the program's Services.
class Win32Platform {
 public:
  Services Get() {
    return Services{clock, profile, files, registry, pictures, desktop, program, locale};
  }
  Win32Clock clock;
  Win32ProfileFile profile;
  Win32FileSystem files;
  Win32Registry registry;
  Win32Pictures pictures;
  Win32Desktop desktop;
  Win32ProgramInfo program;
  Win32Locale locale;
};

}  // namespace scenewright::win32
