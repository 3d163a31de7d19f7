// The real window over fake services: its layout, its controls and the events it forwards.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "fakes/FakeServices.h"
#include "ui/win32/MainWindow.h"
#include "ui/win32/OpenDialogText.h"

namespace scenewright::win32 {
namespace {

using scenewright::testing::FakeSystem;
using namespace std::string_literals;

std::string Text(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

// The shell as at a logon before the task bar exists (it refuses the icon), as a busy Explorer
// (every call fails), or gone (no task bar window); every call into it is counted.
bool refuseIcon = false, busyShell = false, trayGone = false, boxShown = false;
int shellCalls;
BOOL WINAPI LogonShell(DWORD message, PNOTIFYICONDATAA data) {
  ++shellCalls;
  return busyShell || (message == NIM_ADD && refuseIcon) ? FALSE : Shell_NotifyIconA(message, data);
}
HWND TestTaskBar() { return trayGone ? nullptr : GetDesktopWindow(); }

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Create()); }

  HWND Get(ControlId id) { return window.ControlWindow(id); }
  void Click(ControlId id) { SendMessageA(Get(id), BM_CLICK, 0, 0); }
  void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { SendMessageA(window.Window(), message, wParam, lParam); }

  FakeSystem system;
  MainWindow window{GetModuleHandleA(nullptr), system.services(), LogonShell, TestTaskBar};
  Presenter& presenter = window.presenter();
};

// Every control at its table rectangle, converted at `dpi`, inside its container.
void ExpectLayoutAt(MainWindow& window, int dpi) {
  auto px = [dpi](int twips) -> LONG { return TwipsToPixels(twips, dpi); };
  RECT client{};
  GetClientRect(window.Window(), &client);
  EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(px(kClientWidthTwips), px(kClientHeightTwips)));
  for (const auto& spec : kControls) {
    SCOPED_TRACE(std::string(spec.name) + " at " + std::to_string(dpi) + " dpi");
    HWND control = window.ControlWindow(spec.id);
    HWND container = spec.container ? window.ControlWindow(*spec.container) : window.Window();
    EXPECT_EQ(GetParent(control), container);
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(std::tuple(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top),
              std::tuple(px(spec.rect.left), px(spec.rect.top), px(spec.rect.width), px(spec.rect.height)));
  }
}

TEST_F(MainWindowTest, ControlsSitAtTheirTableRectanglesInTheirContainersInTabOrder) {
  ExpectLayoutAt(window, window.Dpi());
  EXPECT_EQ(Text(window.Window()), "Scenewright");
  EXPECT_NE(GetClassLongPtrA(window.Window(), GCLP_HICONSM), 0u);
  for (const auto& spec : kControls) {
    EXPECT_EQ((GetWindowLongPtrA(Get(spec.id), GWL_STYLE) & WS_VISIBLE) != 0, spec.visible) << spec.name;
    EXPECT_TRUE(spec.text.empty() || Text(Get(spec.id)) == spec.text) << spec.name;
  }
  EXPECT_EQ(Text(Get(ControlId::chkAutostart)), "Start With Windows");
  const auto list = static_cast<DWORD>(GetWindowLongPtrA(Get(ControlId::lstWall), GWL_STYLE));
  EXPECT_EQ(list & (LBS_NOTIFY | LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL), DWORD{LBS_NOTIFY});

  // The dialog manager tabs through siblings in window order.
  for (HWND parent : {window.Window(), Get(ControlId::Frame1)}) {
    std::vector<int> tabs;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      const auto& spec = kControls[static_cast<std::size_t>(GetDlgCtrlID(child) - MainWindow::kFirstControlId)];
      if (spec.tabIndex) tabs.push_back(*spec.tabIndex);
    }
    EXPECT_TRUE(std::is_sorted(tabs.begin(), tabs.end()));
  }
  EXPECT_EQ(GetNextDlgTabItem(window.Window(), Get(ControlId::lstWall), FALSE), Get(ControlId::chkAutostart));
}

TEST_F(MainWindowTest, UserEventsReachThePresenterAndItsStateReachesTheWindow) {
  presenter.OnLoad();
  // A minimised window hides at the tick and the tray icon brings it back.
  ShowWindow(window.Window(), SW_SHOWMAXIMIZED);
  ShowWindow(window.Window(), SW_MINIMIZE);
  Send(WM_TIMER, MainWindow::kTimerId);
  EXPECT_FALSE(IsWindowVisible(window.Window()));
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(WM_RBUTTONUP, 0));  // only a left button release restores
  EXPECT_FALSE(IsWindowVisible(window.Window()));
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(WM_LBUTTONUP, 0));
  EXPECT_TRUE(IsWindowVisible(window.Window()));
  EXPECT_FALSE(IsIconic(window.Window()) || IsZoomed(window.Window()));  // normal, though it was maximised
  // Only digits (and Backspace) are typed into the amount; Ctrl+V is discarded too.
  SendMessageA(Get(ControlId::txtTime), EM_SETSEL, 1, 1);
  for (char c : {'a', '-', '.', '\x16', '5', '6', '\b'}) SendMessageA(Get(ControlId::txtTime), WM_CHAR, c, 0);
  EXPECT_EQ(Text(Get(ControlId::txtTime)), "15");
  EXPECT_EQ(presenter.Control(ControlId::txtTime).text, "15");
  Click(ControlId::chkChangeTime);  // unchecked: the amount and unit are disabled at once
  EXPECT_FALSE(IsWindowEnabled(Get(ControlId::txtTime)) || IsWindowEnabled(Get(ControlId::optSeconds)));
  Send(WM_TIMER, MainWindow::kTimerId);
  EXPECT_EQ(Text(Get(ControlId::lblNextChange)), presenter.Countdown());
}

TEST_F(MainWindowTest, TheIconComesWithEachTaskBarAndOnlyAShownIconHidesTheWindow) {
  HWND form = window.Window();
  auto minimise = [&] { ShowWindow(form, SW_MINIMIZE), Send(WM_TIMER, MainWindow::kTimerId); };
  // An error box would wait for a click: its creation is noted and refused.
  HHOOK hook = SetWindowsHookExA(WH_CBT, [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
    char name[16] = {};
    if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name) && !strcmp(name, "#32770")) return boxShown = true;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }, nullptr, GetCurrentThreadId());
  refuseIcon = true;
  presenter.OnLoad();
  refuseIcon = false;
  UnhookWindowsHookEx(hook);
  EXPECT_FALSE(boxShown) << "an error box";
  minimise();
  EXPECT_TRUE(IsWindowVisible(form)) << "hidden, with no icon to bring it back";
  ShowWindow(form, SW_RESTORE);
  Send(RegisterWindowMessageA("TaskbarCreated"));
  minimise();
  EXPECT_FALSE(IsWindowVisible(form)) << "no icon came with the task bar";
  // Explorer busy, even when a new task bar comes: no call at the ticks, the window stays hidden.
  busyShell = true, shellCalls = 0;
  Send(RegisterWindowMessageA("TaskbarCreated"));
  for (int tick = 0; tick < 20; ++tick) Send(WM_TIMER, MainWindow::kTimerId);
  EXPECT_EQ(shellCalls, 2) << "calls into Explorer";
  EXPECT_FALSE(IsWindowVisible(form)) << "a busy Explorer brought the hidden window back";
  busyShell = false, trayGone = true, Send(WM_TIMER, MainWindow::kTimerId), trayGone = false;  // the task bar ends
  EXPECT_TRUE(IsWindowVisible(form) && !IsIconic(form)) << "the window stayed hidden without a task bar";
}

// Moving to a monitor of each scale rebuilds the layout, and every caption is whole, measured
// with its control's own font as Wine draws it: a check box's after its box and half a "0",
// a button's inside its edges, a frame's after the start of its line.
TEST_F(MainWindowTest, EveryCaptionIsWholeAtEveryScale) {
  for (int dpi : {window.Dpi(), 96, 120, 144, 192}) {
    RECT need{}, room{0, 0, 800, 600};
    Send(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&room));
    ExpectLayoutAt(window, dpi);
    for (const auto& spec : kControls) {
      if (spec.text.empty() || spec.kind == ControlKind::TextBox) continue;
      HDC dc = GetDC(Get(spec.id));
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(Get(spec.id), WM_GETFONT, 0, 0)));
      INT zero = 0, box = spec.kind == ControlKind::CheckBox || spec.kind == ControlKind::OptionButton;
      DrawTextA(dc, spec.text.data(), static_cast<int>(spec.text.size()), &need, DT_CALCRECT | DT_SINGLELINE);
      GetCharWidth32A(dc, '0', '0', &zero), ReleaseDC(Get(spec.id), dc), GetClientRect(Get(spec.id), &room);
      need.right += box ? 12 * dpi / 96 + 1 + zero / 2 : spec.kind == ControlKind::Button ? 4 : spec.kind == ControlKind::Frame ? 16 : 0;
      EXPECT_TRUE(need.right <= room.right && need.bottom <= room.bottom)
          << spec.name << " at " << dpi << " dpi: " << need.right << "x" << need.bottom << " in " << room.right << "x" << room.bottom;
    }
  }
}

TEST_F(MainWindowTest, EveryWayOfEndingRunsShutDownOnce) {
  presenter.OnLoad();
  Send(WM_QUERYENDSESSION);
  system.profile.WriteIniValue(FakeSystem::kSettingsFile, "General", "currentindex", "7");
  Send(WM_ENDSESSION, TRUE);
  Send(WM_CLOSE);
  EXPECT_EQ(system.Setting("currentindex"), "7");
  EXPECT_EQ(window.Window(), nullptr);

  // A quit from outside ends the loop with the window still there: the window's end, while
  // its presenter still lives, runs shut-down.
  {
    MainWindow other(GetModuleHandleA(nullptr), system.services());
    ASSERT_TRUE(other.Create());
    PostQuitMessage(3);
    EXPECT_EQ(other.Run(), 3);
    system.files.files.erase(FakeSystem::kSettingsFile);
  }
  EXPECT_EQ(system.Setting("currentindex"), "-1");
}

TEST(OpenDialogText, FilterAndSelectionTexts) {
  FileChooserRequest request;
  request.filters.push_back({"Other pictures", {"*.png", "*.tif"}});
  EXPECT_EQ(DialogFilter(request), "Pictures (*.jpg, *.jpeg, *.gif, *.bmp)\0*.jpg;*.jpeg;*.gif;*.bmp\0"
                                   "Other pictures (*.png, *.tif)\0*.png;*.tif\0\0"s);
  const std::tuple<std::string, std::size_t, std::vector<std::string>> cases[] = {
      // One file; the rest of the buffer still holds an earlier, longer answer.
      {"C:\\Pictures\\a.jpg\0ures\0b.gif\0\0"s, 12, {"C:\\Pictures\\a.jpg"}},
      {"C:\\Pictures\0a.jpg\0b c.gif\0\0old\0"s, 12, {"C:\\Pictures\\a.jpg", "C:\\Pictures\\b c.gif"}},
      {"C:\\\0a.jpg\0b.jpg\0\0"s, 4, {"C:\\\\a.jpg", "C:\\\\b.jpg"}},  // a drive root: joined as given
      // A buffer filled to its end without the closing NULs stops at its end.
      {"C:\\P\0abc"s, 5, {"C:\\P\\abc"}},
      {"C:\\x.jpg"s, 3, {"C:\\x.jpg"}},
      {"\0\0"s, 0, {}},
  };
  for (const auto& [buffer, fileOffset, paths] : cases) {
    EXPECT_EQ(DialogPaths(buffer.data(), buffer.size(), fileOffset), paths);
  }
}

}  // namespace
}  // namespace scenewright::win32
