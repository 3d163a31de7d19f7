// Looks at, and closes, a running scenewright.exe for the end-to-end test.
//   window-probe wait     waits until the window is shown
//   window-probe rect     prints the window's rectangle as WIDTHxHEIGHT+X+Y
//   window-probe close    asks the window to close, as its close box does, and waits for it to go

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kClassName = "ScenewrightForm1";

HWND WaitForWindow(bool visible) {
  for (int i = 0; i < 300; ++i) {
    HWND window = FindWindowA(kClassName, nullptr);
    if (window != nullptr && (!visible || IsWindowVisible(window))) return window;
    Sleep(100);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND window = WaitForWindow(true);
  if (window == nullptr) {
    std::fprintf(stderr, "window-probe: no Scenewright window\n");
    return 1;
  }
  if (std::strcmp(argv[1], "wait") == 0) return 0;
  if (std::strcmp(argv[1], "rect") == 0) {
    RECT rect{};
    GetWindowRect(window, &rect);
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top);
    return 0;
  }
  if (std::strcmp(argv[1], "close") == 0) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 300 && IsWindow(window); ++i) Sleep(100);
    return IsWindow(window) ? 1 : 0;
  }
  return 2;
}
