#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "storage/PortableProfileFile.h"
#include "ui/FormView.h"

namespace scenewright::testing {

// Every fake appends what it was asked to one shared log, so a test can check the order.
using CallLog = std::vector<std::string>;

class FakeClock final : public Clock {
 public:
  float now = 0;
  float SecondsSinceMidnight() override { return now; }
};

// Files in memory; folders must be made before files can be written in them.
class MemoryFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders{"D:\\Tools", "C:"};
  std::set<std::string> unreadable;  // exist, but every read fails
  bool readOnly = false;
  int replaceCount = 0;

  std::optional<std::string> ReadFile(const std::string& path) override;
  bool ReplaceFile(const std::string& path, std::string_view bytes) override;
  bool CreateFileIfMissing(const std::string& path) override;
  bool IsFile(const std::string& path) override;
  void RemoveLeftovers(const std::string&) override {}

 private:
  bool CanWrite(const std::string& path) const;
};

// The real portable engine over memory, logging each call.
class LoggingProfileFile final : public ProfileFile {
 public:
  LoggingProfileFile(FileSystem& files, CallLog& log) : engine_(files), log_(log) {}
  std::string ReadIniValue(const std::string& file, const std::string& section, const std::string& key) override;
  void WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
  bool FileExists(const std::string& path) override;

 private:
  PortableProfileFile engine_;
  CallLog& log_;
};

class FakeRegistry final : public Registry {
 public:
  explicit FakeRegistry(CallLog& log) : log_(log) {}
  std::map<std::string, std::string> values;  // "key path|value name" -> text
  bool writable = true;
  bool SetRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                        const std::string& text) override;
  void DeleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) override;

 private:
  CallLog& log_;
};

struct PictureSize {
  int width;
  int height;
  bool operator==(const PictureSize&) const = default;
};

// Pictures are known by path with their size; a bitmap is written as "BMP wxh" into the
// memory file system.
class FakePictures final : public Pictures {
 public:
  FakePictures(MemoryFileSystem& files, CallLog& log) : files_(files), log_(log) {}
  std::map<std::string, PictureSize> decodable;
  std::optional<PictureSize> staged;
  bool LoadStagingPicture(const std::string& path) override;
  bool SaveStagingPictureAsBitmap(const std::string& bitmapPath) override;

 private:
  MemoryFileSystem& files_;
  CallLog& log_;
};

class FakeDesktop final : public Desktop {
 public:
  explicit FakeDesktop(CallLog& log) : log_(log) {}
  std::vector<std::string> candidates{"C:\\scenewright.bmp"};
  std::string wallpaper;
  int setCount = 0;
  std::vector<std::string> BitmapFileCandidates() override { return candidates; }
  void SetWallpaper(const std::string& bitmapPath) override;

 private:
  CallLog& log_;
};

class FakeProgramInfo final : public ProgramInfo {
 public:
  std::string folder = "D:\\Tools";
  std::string baseName = "Scenewright";
  std::string ProgramFolder() override { return folder; }
  std::string ExecutableBaseName() override { return baseName; }
  std::string ExecutableExtension() override { return ".exe"; }
  char PathSeparator() override { return '\\'; }
  std::string ProductName() override { return "Scenewright"; }
};

class FakeLocale final : public Locale {
 public:
  std::string separator = ".";
  std::string DecimalSeparator() override { return separator; }
};

// One of each, wired together, as the program's start wires the real ones.
struct FakeSystem {
  CallLog log;
  FakeClock clock;
  MemoryFileSystem files;
  LoggingProfileFile profile{files, log};
  FakeRegistry registry{log};
  FakePictures pictures{files, log};
  FakeDesktop desktop{log};
  FakeProgramInfo program;
  FakeLocale locale;

  Services services() { return {clock, profile, files, registry, pictures, desktop, program, locale}; }

  static constexpr const char* kSettingsFile = "D:\\Tools\\scenewright.ini";
  static constexpr const char* kListFile = "D:\\Tools\\wallpaper.dat";
  static constexpr const char* kBitmapFile = "C:\\scenewright.bmp";
  static constexpr const char* kRunValue = "software\\microsoft\\windows\\currentversion\\run\\|Scenewright";

  // Pictures "D:\\Pictures\\<name>" that decode, with sizes 100x(50+i).
  std::vector<std::string> MakePictures(int count);
  void WriteListFile(const std::vector<std::string>& entries);
  std::string Setting(const std::string& key);
};

// A view that keeps what it was told to show, and answers dialogs from a queue.
class FakeView final : public FormView {
 public:
  explicit FakeView(CallLog& log) : log_(log) {}

  std::map<ControlId, ControlState> shown;
  std::vector<std::string> rows;
  int selection = -1;
  std::vector<std::string> previews;
  std::set<std::string> unpreviewable;
  std::deque<OpenDialogResult> dialogAnswers;
  std::vector<OpenDialogRequest> dialogRequests;
  std::function<void()> onPendingEvents;
  int pendingEventRuns = 0;
  std::vector<std::pair<std::string, std::string>> messageBoxes;  // text, title
  std::string trayError;
  std::optional<TrayRecord> trayAdded;
  int trayRemovals = 0;
  WindowState state = WindowState::Normal;
  bool visible = true;

  void ShowControl(ControlId id, const ControlState& state) override { shown[id] = state; }
  void ShowListRows(const std::vector<std::string>& all) override;
  void ShowListAppend(const std::string& row) override { rows.push_back(row); }
  void ShowListRemove(int index) override;
  void ShowListSelection(int index) override { selection = index; }
  bool ShowPreview(const std::string& path) override;
  OpenDialogResult RunOpenDialog(const OpenDialogRequest& request) override;
  void ProcessPendingEvents() override;
  void ShowMessageBox(const std::string& text, const std::string& title) override;
  std::string AddTrayIcon(const TrayRecord& record) override;
  void RemoveTrayIcon(const TrayRecord& record) override;
  WindowState GetWindowState() override { return state; }
  void HideWindow() override { visible = false; }
  void RestoreWindow() override {
    state = WindowState::Normal;
    visible = true;
  }

 private:
  CallLog& log_;
};

}  // namespace scenewright::testing
