// Looks at, and closes, a running scenewright.exe for the end-to-end test.
//   window-probe          waits until the window is shown, not minimised
//   window-probe hide     minimises the window and waits until it hides in the tray
//   window-probe row N    prints the screen position of the middle of list row N as X Y
//   window-probe close    asks the window to close, as its close box does, and waits for it to go
//   window-probe click ID...  clicks each button or box, in turn
//   window-probe middle ID    prints the screen position of the middle of control ID as X Y
//   window-probe open PATH    picks PATH in Add Files' dialog; prints the text of a box that follows

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  SetProcessDPIAware();  // the program's own pixels, also where the system scales others'
  HWND window = nullptr;
  for (int i = 0; i < 300 && !(window && IsWindowVisible(window) && !IsIconic(window)); ++i, Sleep(100)) {
    window = FindWindowA("ScenewrightForm1", nullptr);
  }
  const std::string command = argc >= 2 ? argv[1] : "";
  RECT rect{};
  // Control identifiers: 1000 and the control's place in the control table.
  if (window == nullptr || !IsWindowVisible(window)) return 1;
  if (command == "row" && argc == 3) {
    HWND list = GetDlgItem(window, 1013);
    if (SendMessageA(list, LB_GETITEMRECT, std::atoi(argv[2]), reinterpret_cast<LPARAM>(&rect)) == LB_ERR) return 1;
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%ld %ld\n", rect.left + 40, (rect.top + rect.bottom) / 2);
  } else if (command == "hide") {
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    for (int i = 0; i < 300 && IsWindowVisible(window); ++i) Sleep(100);
    return IsWindowVisible(window) ? 1 : 0;
  } else if (command == "click") {
    for (int i = 2; i < argc; ++i) {
      HWND control = GetDlgItem(GetDlgItem(window, 1000), std::atoi(argv[i]));
      if (control == nullptr) control = GetDlgItem(window, std::atoi(argv[i]));  // outside the frame
      if (control == nullptr) return 1;
      SendMessageA(control, BM_CLICK, 0, 0);
    }
  } else if (command == "middle" && argc == 3) {
    GetWindowRect(GetDlgItem(window, std::atoi(argv[2])), &rect);
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  } else if (command == "open" && argc == 3) {
    PostMessageA(GetDlgItem(window, 1017), BM_CLICK, 0, 0);
    HWND dialog = nullptr, box = nullptr;
    for (int i = 0; i < 100 && !(dialog = FindWindowA("#32770", "Open")); ++i) Sleep(100);
    Sleep(500);  // done setting itself up, its previous name included
    // The path as given, wide: the command line is narrow only in the code page.
    for (int name : {0x47c, 0x480}) SetDlgItemTextW(dialog, name, CommandLineToArgvW(GetCommandLineW(), &argc)[2]);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 30 && IsWindow(dialog); ++i) Sleep(100);
    for (int i = 0; i < 10 && !(box = FindWindowExA(nullptr, nullptr, "#32770", nullptr)); ++i) Sleep(100);
    wchar_t text[1024] = {};
    if (box != nullptr && GetWindow(box, GW_OWNER) == window && GetDlgItemTextW(box, 0xFFFF, text, 1024)) {
      std::printf("box: %ls\n", text), PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  } else if (command == "close") {
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 300 && IsWindow(window); ++i) Sleep(100);
    return IsWindow(window) ? 1 : 0;
  }
  return 0;
}
