#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "storage/PortableProfileFile.h"
#include "ui/FormView.h"

namespace scenewright::testing {

// Files in memory. A refused path is taken by something that is not a file (a folder).
class MemoryFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> refused;
  std::set<std::string> unreadable;  // exist, but every read fails
  std::set<std::string> locked;      // folders where nothing can be made
  bool readOnly = false;
  int writes = 0;

  std::optional<std::string> ReadFile(const std::string& path) override {
    if (!files.count(path) || unreadable.count(path)) return std::nullopt;
    return files[path];
  }
  bool ReplaceFile(const std::string& path, std::string_view bytes) override {
    if (readOnly || refused.count(path) || locked.count(path.substr(0, path.rfind('\\')))) return false;
    files[path] = std::string(bytes);
    return ++writes > 0;
  }
  bool RemoveFile(const std::string& path) override { return !readOnly && (files.erase(path), true); }
  bool CreateFileIfMissing(const std::string& path) override { return files.count(path) || ReplaceFile(path, ""); }
  bool IsFile(const std::string& path) override { return files.count(path) > 0; }
  // A folder is where files are (either separator); listed backwards, as a system may list in any order.
  std::optional<std::vector<std::string>> FilesInFolder(const std::string& folder) override {
    std::vector<std::string> inside;
    const std::string prefix = folder + (folder.starts_with('/') ? '/' : '\\');
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
      if (it->first.starts_with(prefix) && it->first.find_first_of("/\\", prefix.size()) == std::string::npos) inside.push_back(it->first);
    }
    return inside.empty() ? std::nullopt : std::optional(inside);
  }
  bool CanCreateFilesIn(const std::string& folder) override { return !readOnly && !locked.count(folder); }
  bool MakePrivateFolder(const std::string& folder) override { return CanCreateFilesIn(folder); }
  bool MakeFolderHolding(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& made) override {
    for (const auto& [name, bytes] : made) if (readOnly || refused.count(folder + '\\' + name)) return false;
    for (const auto& [name, bytes] : made) files[folder + '\\' + name] = bytes;
    return !readOnly;
  }
  void RemoveLeftovers(const std::string&) override {}
};

// The other services in one; pictures are known by path with their size, a bitmap is written as "BMP wxh".
struct FakeSystem final : Clock, Registry, Pictures, Desktop, ProgramInfo, Locale {
  MemoryFileSystem files;
  PortableProfileFile profile{files};
  float now = 0;
  std::optional<std::string> runValue;  // machine-wide; this user's is taken and not kept
  std::map<std::string, std::string> decodable;  // path -> "wxh"
  std::vector<std::string> loads;
  std::string staged;
  std::vector<std::string> candidates{"C:\\scenewright.bmp"};
  std::string wallpaper;
  int setCount = 0;
  std::string folder = "D:\\Tools";
  std::string userFolder = "U:\\Ann\\Scenewright";
  bool systemFolder = false;  // a program folder that never holds data

  Services services() { return {*this, profile, files, *this, *this, *this, *this, *this}; }

  float SecondsSinceMidnight() override { return now; }
  bool SetRegistryValue(RegistryRoot root, const std::string&, const std::string&, const std::string& text) override {
    if (root != RegistryRoot::CurrentUser) runValue = text;
    return true;
  }
  void DeleteRegistryValue(RegistryRoot root, const std::string&, const std::string&) override {
    if (root != RegistryRoot::CurrentUser) runValue.reset();
  }
  bool HoldsRegistryValue(RegistryRoot root, const std::string&, const std::string&, const std::string& text) override {
    return root != RegistryRoot::CurrentUser && runValue == text;
  }
  bool LoadStagingPicture(const std::string& path) override {
    loads.push_back(path);
    if (decodable.count(path)) staged = decodable[path];
    return decodable.count(path) > 0;
  }
  bool SaveStagingPictureAsBitmap(const std::string& bitmapPath) override {
    return !staged.empty() && files.ReplaceFile(bitmapPath, "BMP " + staged);
  }
  bool IsPicture(const std::string& path) override { return decodable.count(path) > 0; }
  std::vector<std::string> FilePatterns() override { return {"*.JPG", "*.png", "*.bmp", "*.tif", "*.png"}; }
  std::vector<std::string> BitmapFileCandidates() override { return candidates; }
  void SetWallpaper(const std::string& bitmapPath) override { wallpaper = bitmapPath, ++setCount; }
  std::string ProgramFolder() override { return folder; }
  std::string ExecutableBaseName() override { return "Scenewright"; }
  std::string ExecutableExtension() override { return ".exe"; }
  char PathSeparator() override { return '\\'; }
  std::string ProductName() override { return "Scenewright"; }
  std::string UserDataFolder() override { return userFolder; }
  bool MayKeepFilesInProgramFolder() override { return !systemFolder; }
  std::string DecimalSeparator() override { return "."; }

  static constexpr const char* kSettingsFile = "D:\\Tools\\scenewright.ini";
  static constexpr const char* kListFile = "D:\\Tools\\wallpaper.dat";
  static constexpr const char* kBitmapFile = "C:\\scenewright.bmp";

  // Pictures "D:\\Pictures\\picture<i>.jpg" that decode, of size 100x(50+i).
  std::vector<std::string> MakePictures(int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
      paths.push_back("D:\\Pictures\\picture" + std::to_string(i) + ".jpg");
      decodable[paths.back()] = "100x" + std::to_string(50 + i);
    }
    return paths;
  }
  void WriteListFile(const std::vector<std::string>& entries) {
    std::string& text = files.files[kListFile];
    for (const auto& entry : entries) text += entry + "\r\n";
  }
  std::string Setting(const std::string& key) { return profile.ReadIniValue(kSettingsFile, "General", key); }
};

// A view that keeps what it was told to show, and answers dialogs from a queue.
class FakeView final : public FormView {
 public:
  std::map<ControlId, ControlState> shown;
  std::vector<std::string> rows, previews, messageBoxes;  // message boxes as "title: text"
  std::deque<std::vector<std::string>> dialogAnswers;  // an empty queue answers Cancel
  std::function<void()> onPendingEvents;
  std::string trayError;
  int selection = -1;
  WindowState state = WindowState::Normal;
  bool visible = true;

  void ShowControl(ControlId id, const ControlState& shownState) override { shown[id] = shownState; }
  void ShowListRows(const std::vector<std::string>& all) override { rows = all, selection = -1; }
  void ShowListAppend(const std::string& row) override { rows.push_back(row); }
  void ShowListRemove(int index) override { rows.erase(rows.begin() + index); }
  void ShowListSelection(int index) override { selection = index; }
  bool ShowPreview(const std::string& path) override { return previews.push_back(path), true; }
  std::vector<std::string> ChooseFiles(const FileChooserRequest&) override {
    std::vector<std::string> answer;
    if (!dialogAnswers.empty()) answer.swap(dialogAnswers.front()), dialogAnswers.pop_front();
    return answer;
  }
  void ProcessPendingEvents() override { if (onPendingEvents) onPendingEvents(); }
  void ShowMessageBox(const std::string& text, const std::string& title) override {
    messageBoxes.push_back(title + ": " + text);
  }
  std::string AddTrayIcon(std::string_view) override { return trayError; }
  void RemoveTrayIcon() override {}
  WindowState GetWindowState() override { return state; }
  void HideWindow() override { visible = false; }
  void RestoreWindow() override { state = WindowState::Normal, visible = true; }
  void RaiseWindow() override {}
};

}  // namespace scenewright::testing
