#include "fakes/FakeServices.h"

namespace scenewright::testing {

namespace {

std::string ParentOf(const std::string& path) {
  auto at = path.find_last_of("\\/");
  return at == std::string::npos ? std::string() : path.substr(0, at);
}

}  // namespace

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path) {
  auto found = files.find(path);
  if (found == files.end() || unreadable.count(path)) return std::nullopt;
  return found->second;
}

bool MemoryFileSystem::CanWrite(const std::string& path) const {
  return !readOnly && folders.count(ParentOf(path)) && !lockedFolders.count(ParentOf(path)) && !folders.count(path);
}

bool MemoryFileSystem::CanCreateFilesIn(const std::string& folder) { return CanWrite(folder + "\\probe"); }

bool MemoryFileSystem::MakePrivateFolder(const std::string& folder) {
  if (!readOnly) folders.insert(folder);
  return CanCreateFilesIn(folder);
}

bool MemoryFileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
  if (!CanWrite(path)) return false;
  files[path] = std::string(bytes);
  ++replaceCount;
  return true;
}

bool MemoryFileSystem::CreateFileIfMissing(const std::string& path) {
  if (files.count(path)) return true;
  if (!CanWrite(path)) return false;
  files[path] = "";
  return true;
}

bool MemoryFileSystem::IsFile(const std::string& path) { return files.count(path) && !folders.count(path); }

std::string LoggingProfileFile::ReadIniValue(const std::string& file, const std::string& section,
                                             const std::string& key) {
  log_.push_back("read " + key);
  return engine_.ReadIniValue(file, section, key);
}

void LoggingProfileFile::WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                                       const std::string& value) {
  log_.push_back("write " + key + "=" + value);
  engine_.WriteIniValue(file, section, key, value);
}

bool LoggingProfileFile::FileExists(const std::string& path) {
  log_.push_back("exists " + path);
  return engine_.FileExists(path);
}

bool FakeRegistry::SetRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                    const std::string& text) {
  const bool user = root == RegistryRoot::CurrentUser;
  log_.push_back(std::string("registry set ") + (user ? "user " : "") + valueName + "=" + text);
  if (!(user ? userWritable : writable)) return false;
  values[(user ? "HKCU\\" : "") + keyPath + "|" + valueName] = text;
  return true;
}

void FakeRegistry::DeleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) {
  const bool user = root == RegistryRoot::CurrentUser;
  log_.push_back(std::string("registry delete ") + (user ? "user " : "") + valueName);
  if (!(user ? userWritable : writable)) return;
  // Key names ignore case.
  for (auto it = values.begin(); it != values.end(); ++it) {
    std::string stored = it->first, wanted = (user ? "HKCU\\" : "") + keyPath + "|" + valueName;
    if (stored.size() == wanted.size() &&
        std::equal(stored.begin(), stored.end(), wanted.begin(), [](char a, char b) { return std::tolower(a) == std::tolower(b); })) {
      values.erase(it);
      return;
    }
  }
}

bool FakePictures::LoadStagingPicture(const std::string& path) {
  log_.push_back("load " + path);
  auto found = decodable.find(path);
  if (found == decodable.end()) return false;
  staged = found->second;
  return true;
}

bool FakePictures::SaveStagingPictureAsBitmap(const std::string& bitmapPath) {
  if (!staged) return false;
  return files_.ReplaceFile(bitmapPath,
                            "BMP " + std::to_string(staged->width) + "x" + std::to_string(staged->height));
}

void FakeDesktop::SetWallpaper(const std::string& bitmapPath) {
  log_.push_back("wallpaper " + bitmapPath);
  wallpaper = bitmapPath;
  ++setCount;
}

std::vector<std::string> FakeSystem::MakePictures(int count) {
  files.folders.insert("D:\\Pictures");
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    std::string path = "D:\\Pictures\\picture" + std::to_string(i) + ".jpg";
    pictures.decodable[path] = {100, 50 + i};
    paths.push_back(path);
  }
  return paths;
}

void FakeSystem::WriteListFile(const std::vector<std::string>& entries) {
  std::string text;
  for (const auto& entry : entries) text += entry + "\r\n";
  files.files[kListFile] = text;
}

std::string FakeSystem::Setting(const std::string& key) {
  PortableProfileFile reader(files);
  return reader.ReadIniValue(kSettingsFile, "General", key);
}

void FakeView::ShowListRows(const std::vector<std::string>& all) {
  rows = all;
  selection = -1;
}

void FakeView::ShowListRemove(int index) {
  rows.erase(rows.begin() + index);
  if (selection == index) selection = -1;
}

bool FakeView::ShowPreview(const std::string& path) {
  if (unpreviewable.count(path)) return false;
  previews.push_back(path);
  return true;
}

OpenDialogResult FakeView::RunOpenDialog(const OpenDialogRequest& request) {
  dialogRequests.push_back(request);
  if (dialogAnswers.empty()) return {};
  OpenDialogResult answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  return answer;
}

void FakeView::ProcessPendingEvents() {
  ++pendingEventRuns;
  if (onPendingEvents) onPendingEvents();
}

void FakeView::ShowMessageBox(const std::string& text, const std::string& title) {
  log_.push_back("message " + text);
  messageBoxes.emplace_back(text, title);
}

std::string FakeView::AddTrayIcon(const TrayRecord& record) {
  log_.push_back("tray add");
  if (trayError.empty()) trayAdded = record;
  return trayError;
}

void FakeView::RemoveTrayIcon(const TrayRecord&) {
  log_.push_back("tray remove");
  ++trayRemovals;
}

}  // namespace scenewright::testing
