// The Windows program: the system services, the window and the presenter that drives it.

#include <windows.h>
#include <ole2.h>

#include "platform/win32/Win32Services.h"
#include "ui/win32/MainWindow.h"
#include "ui/win32/OneProgram.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A second start shows the running program's window and ends before any file is read.
  const scenewright::win32::OneProgram one;
  if (!one.First()) {
    scenewright::win32::OneProgram::HandOver();
    return 0;
  }
  // The open dialog and the picture loader both want a single-threaded apartment.
  const HRESULT ole = OleInitialize(nullptr);
  int result = 1;
  {
    scenewright::win32::Win32Platform platform;
    scenewright::win32::MainWindow window(instance, platform.Get());
    if (window.Create()) result = window.Run();
  }
  if (SUCCEEDED(ole)) OleUninitialize();
  return result;
}
