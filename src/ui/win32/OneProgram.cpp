#include "ui/win32/OneProgram.h"

#include <string>

#include "ui/win32/MainWindow.h"

namespace scenewright::win32 {

OneProgram::OneProgram() {
  // Per user too: "Local\" is shared by everyone who runs programs in this session.
  char user[257] = {};
  DWORD size = sizeof(user);
  if (!GetUserNameA(user, &size)) user[0] = '\0';
  const std::string name = std::string("Local\\Scenewright.OneProgram.") + user;
  SetLastError(ERROR_SUCCESS);
  mutex_ = CreateMutexA(nullptr, FALSE, name.c_str());
  // Held already, or held by an elevated program of this user that we may not open.
  const DWORD error = GetLastError();
  first_ = !(error == ERROR_ALREADY_EXISTS || (mutex_ == nullptr && error == ERROR_ACCESS_DENIED));
}

OneProgram::~OneProgram() {
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

void OneProgram::HandOver() {
  const UINT message = RegisterWindowMessageA(MainWindow::kSecondStartMessage);
  for (int attempt = 0; attempt < 200; ++attempt, Sleep(50)) {
    HWND window = FindWindowA(MainWindow::kClassName, nullptr);
    if (window == nullptr) continue;
    // This start came from the user, so it may give the first program the foreground.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    AllowSetForegroundWindow(process);
    PostMessageA(window, message, 0, 0);
    return;
  }
}

}  // namespace scenewright::win32
