// The settings-file primitives and whole-file access.

#include <windows.h>

#include <string>

#include "platform/TemporaryName.h"
#include "platform/win32/NarrowPath.h"
#include "platform/win32/Win32Services.h"

namespace scenewright::win32 {

namespace {

constexpr DWORD kIniBufferSize = 255;

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  void Reset(HANDLE h) {
    Close();
    h_ = h;
  }
  bool Close() {
    if (!Valid()) return true;
    const bool ok = CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool HasWildcard(const std::string& path) { return path.find_first_of("*?") != std::string::npos; }

// The folder part of a path, with its separator: C:\ for C:\scenewright.bmp.
std::string FolderWithSeparator(const std::string& path) { return path.substr(0, path.find_last_of("\\/") + 1); }

// A program of ours that may still be writing its temporaries; a process id reused by some
// other program counts too, so that nothing is ever taken from under a running save.
bool StillRuns(unsigned long process) {
  // Our own id on a leftover belongs to an earlier program: nothing of ours is half-saved yet.
  if (process > 0xFFFFFFFFul || process == GetCurrentProcessId()) return false;
  const HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
  if (handle == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process
  DWORD exitCode = 0;
  const bool runs = !GetExitCodeProcess(handle, &exitCode) || exitCode == STILL_ACTIVE;
  CloseHandle(handle);
  return runs;
}

// Empties a leftover folder of ours of its files, then removes it; a junction is never followed.
void RemoveLeftoverFolder(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

const std::string& TemporaryHost() {
  static const std::string host = [] {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return HostForTemporaryNames(GetComputerNameA(name, &size) ? name : "");
  }();
  return host;
}

std::string Win32ProfileFile::ReadIniValue(const std::string& file, const std::string& section,
                                           const std::string& key) {
  char buffer[kIniBufferSize] = {};
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, kIniBufferSize,
                                           file.c_str());
  return std::string(buffer, n < kIniBufferSize ? n : kIniBufferSize - 1);
}

void Win32ProfileFile::WriteIniValue(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& value) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

bool Win32ProfileFile::FileExists(const std::string& path) {
  // A wildcard would let the search find some other file; the question is about this one.
  if (path.empty() || HasWildcard(path)) return false;
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  // Hidden and system files are still the user's settings; only directories are not files.
  return found.cFileName[0] != '\0' && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
  Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    DWORD n = 0;
    if (!::ReadFile(file.Get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n,
                    nullptr)) {
      return std::nullopt;
    }
    if (n == 0) break;  // the file shrank while we read it
    got += n;
  }
  bytes.resize(got);
  return bytes;
}

bool Win32FileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
  return ReplaceFileAtomically(path, bytes);
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return !path.empty() && (DeleteFileA(path.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND);
}

bool Win32FileSystem::CreateFileIfMissing(const std::string& path) {
  Handle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.Valid();
}

bool Win32FileSystem::IsFile(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::vector<std::string>> Win32FileSystem::FilesInFolder(const std::string& folder) {
  const DWORD attributes = folder.empty() || HasWildcard(folder) ? INVALID_FILE_ATTRIBUTES
                                                                 : GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::nullopt;
  const std::string prefix = folder.back() == '\\' || folder.back() == '/' ? folder : folder + '\\';
  const std::wstring widePrefix = WideText(prefix);
  std::vector<std::string> paths;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((widePrefix + L'*').c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional(paths) : std::nullopt;
  do {
    // Wide, so that a name the code page lacks comes by its short form, never full of "?";
    // one without a short form is left out like any other file the list could not load.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    if (auto path = NarrowPath(widePrefix + found.cFileName)) paths.push_back(std::move(*path));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return paths;
}

bool Win32FileSystem::CanCreateFilesIn(const std::string& folder) {
  // Tried for real: the folder's access list, a read-only medium and a full disk all count.
  const std::string probe = folder + "\\scenewright-probe-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  Handle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return file.Valid();
}

bool Win32FileSystem::MakePrivateFolder(const std::string& folder) {
  // A new folder inherits the access list of the user's profile, which only the user (and
  // the system and administrators) may open.
  if (folder.empty()) return false;
  CreateDirectoryA(folder.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         CanCreateFilesIn(folder);
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return false;
  // Beside the target, so that the rename stays on one volume and cannot half-happen; a name
  // of its own, created afresh, so that nothing already there is ever written through.
  std::string temp;
  Handle file(INVALID_HANDLE_VALUE);
  const std::string folder = FolderWithSeparator(path);
  for (unsigned attempt = 0; attempt < 100 && !file.Valid(); ++attempt) {
    temp = folder + TemporaryName(path.substr(folder.size()), TemporaryHost(), GetCurrentProcessId(), attempt);
    file.Reset(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid() && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (!file.Valid()) return false;
  bool ok = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get()) != 0;
  ok = file.Close() && ok;
  ok = ok && MoveFileExA(temp.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) DeleteFileA(temp.c_str());
  return ok;
}

bool Win32FileSystem::MakeFolderHolding(const std::string& folder,
                                        const std::vector<std::pair<std::string, std::string>>& files) {
  const std::string parent = FolderWithSeparator(folder);
  if (folder.empty() || HasWildcard(folder) || parent.size() == folder.size()) return false;
  RemoveLeftovers(folder);  // folders a killed copy left beside it
  std::string staging;
  for (unsigned attempt = 0; attempt < 100 && staging.empty(); ++attempt) {
    const std::string tried = parent + TemporaryName(folder.substr(parent.size()), TemporaryHost(), GetCurrentProcessId(), attempt);
    if (CreateDirectoryA(tried.c_str(), nullptr)) staging = tried;
    else if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  if (staging.empty()) return false;
  bool ok = true;
  for (const auto& [file, bytes] : files) ok = ok && ReplaceFileAtomically(staging + "\\" + file, bytes);
  // The one step that makes the files appear: a folder already there gives way only when
  // empty (a kill between the two leaves neither, and the next start copies again).
  if (ok) RemoveDirectoryA(folder.c_str());
  if (!ok || !MoveFileExA(staging.c_str(), folder.c_str(), MOVEFILE_WRITE_THROUGH)) {
    RemoveLeftoverFolder(staging);
    return false;
  }
  return true;
}

void Win32FileSystem::RemoveLeftovers(const std::string& path) {
  if (path.empty() || HasWildcard(path)) return;
  const std::string folder = FolderWithSeparator(path);
  WIN32_FIND_DATAA found{};
  const std::string pattern = folder + "*" + std::string(kTemporaryMarker) + "*" + std::string(kTemporaryEnding);
  const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    // The search also matches short names; the long name is the one that must prove it ours.
    // Another machine's process ids say nothing here: its temporaries are its own to judge.
    const std::optional<TemporaryMaker> owner = TemporaryOwner(found.cFileName);
    if (!owner || owner->host != TemporaryHost() || StillRuns(owner->process)) continue;
    const std::string leftover = folder + found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) DeleteFileA(leftover.c_str());
    else if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) RemoveLeftoverFolder(leftover);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace scenewright::win32
