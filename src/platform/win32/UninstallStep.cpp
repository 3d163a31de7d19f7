// The installer's step before it removes the program's files, given the installed program:
// every copy started from that very file is asked to close as a logoff asks (so it saves its
// index) and then ended; with --run-values, each start-at-logon value that starts the
// installed program goes too. Copies elsewhere (portable ones) and their values stay.
//   scenewright-uninstall.exe "C:\Program Files\Scenewright\scenewright.exe" [--run-values]

#include <windows.h>

#include <tlhelp32.h>

#include <string>

#include "platform/win32/Win32Services.h"
#include "storage/StartAtLogon.h"

namespace {

using namespace scenewright;

constexpr DWORD kAnswerMs = 5000;  // for each question, as Windows waits for a program at a logoff
constexpr DWORD kEndMs = 5000;     // for a program that saved to end by itself

std::string ImagePath(HANDLE process) {
  char path[MAX_PATH * 2] = {};
  DWORD size = sizeof(path);
  return QueryFullProcessImageNameA(process, 0, path, &size) ? std::string(path, size) : std::string();
}

// The logoff's two questions to each top-level window of the process, then a close, which
// the program answers by ending; one that does not end is ended by the caller.
void AskToClose(DWORD processId) {
  EnumWindows(
      [](HWND window, LPARAM id) -> BOOL {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != static_cast<DWORD>(id)) return TRUE;
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, kAnswerMs,
                                &answer) != 0) {
          SendMessageTimeoutA(window, WM_ENDSESSION, answer != 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, kAnswerMs,
                              &answer);
        }
        // Only a main window is closed: helper windows (the input method's) have no caption.
        if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) PostMessageA(window, WM_CLOSE, 0, 0);
        return TRUE;
      },
      static_cast<LPARAM>(processId));
}

void EndCopiesOf(const std::string& program) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) continue;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE, FALSE,
                                 entry.th32ProcessID);
    if (process == nullptr) continue;
    // Only the installed file itself: a copy of the same name in any other folder is not ours.
    const std::string image = ImagePath(process);
    if (!image.empty() && win32::SameProgram(image, program)) {
      AskToClose(entry.th32ProcessID);
      if (WaitForSingleObject(process, kEndMs) == WAIT_TIMEOUT) TerminateProcess(process, 0);
    }
    CloseHandle(process);
  }
  CloseHandle(snapshot);
}

void RemoveRunValuesOf(const std::string& program) {
  win32::Win32Registry registry;
  const std::string key(kRunKeyPathForDeleting), name(kRunValueName);
  for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
    if (registry.HoldsRegistryValue(root, key, name, program)) registry.DeleteRegistryValue(root, key, name);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2 || __argc > 3) return 2;
  const std::string program = __argv[1];
  const bool runValues = __argc == 3 && std::string(__argv[2]) == "--run-values";
  // The values first: they are compared with the installed file while it still exists.
  if (runValues) RemoveRunValuesOf(program);
  EndCopiesOf(program);
  return 0;
}
