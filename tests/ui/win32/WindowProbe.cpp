// Looks at, and closes, a running scenewright.exe for the end-to-end test.
//   window-probe wait     waits until the window is shown
//   window-probe rect     prints the window's rectangle as WIDTHxHEIGHT+X+Y
//   window-probe row N    prints the screen position of the middle of list row N as X Y
//   window-probe preview  prints the screen position of the middle of the preview as X Y
//   window-probe close    asks the window to close, as its close box does, and waits for it to go

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kClassName = "ScenewrightForm1";
// Control identifiers: 1000 and the control's place in the control table.
constexpr int kPicture2Id = 1011;
constexpr int kListId = 1013;

HWND Descendant(HWND window, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (GetDlgCtrlID(child) != s->id) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

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
  if (argc == 3 && std::strcmp(argv[1], "row") == 0) {
    HWND list = Descendant(WaitForWindow(true), kListId);
    RECT rect{};
    if (SendMessageA(list, LB_GETITEMRECT, std::atoi(argv[2]), reinterpret_cast<LPARAM>(&rect)) == LB_ERR) return 1;
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%ld %ld\n", rect.left + 40, (rect.top + rect.bottom) / 2);
    return 0;
  }
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
  if (std::strcmp(argv[1], "preview") == 0) {
    RECT rect{};
    GetWindowRect(Descendant(window, kPicture2Id), &rect);
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
  }
  if (std::strcmp(argv[1], "close") == 0) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 300 && IsWindow(window); ++i) Sleep(100);
    return IsWindow(window) ? 1 : 0;
  }
  return 2;
}
