// The real window over fake services: its layout, its controls and the events it forwards.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeServices.h"
#include "ui/Presenter.h"
#include "ui/win32/MainWindow.h"

namespace scenewright::win32 {
namespace {

using scenewright::testing::FakeSystem;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A window destroyed by an earlier test leaves its quit message behind.
    MSG leftover{};
    while (PeekMessageA(&leftover, nullptr, 0, 0, PM_REMOVE)) {
    }
    ASSERT_TRUE(window.Create());
  }

  void Load(int pictures = 0) {
    if (pictures > 0) system.WriteListFile(system.MakePictures(pictures));
    presenter.OnLoad();
  }
  HWND Get(ControlId id) { return window.ControlWindow(id); }
  std::string Text(ControlId id) {
    char text[256] = {};
    GetWindowTextA(Get(id), text, sizeof(text));
    return text;
  }
  bool Checked(ControlId id) { return SendMessageA(Get(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void Click(ControlId id) { SendMessageA(Get(id), BM_CLICK, 0, 0); }
  void Type(ControlId id, char c) { SendMessageA(Get(id), WM_CHAR, static_cast<WPARAM>(c), 0); }

  FakeSystem system;
  MainWindow window{GetModuleHandleA(nullptr), system.services()};
  Presenter& presenter = window.presenter();
};

// Every control at its table rectangle, converted at `dpi`, inside its container.
void ExpectLayoutAt(MainWindow& window, int dpi) {
  RECT client{};
  GetClientRect(window.Window(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(kClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(kClientHeightTwips, dpi));
  for (const auto& spec : kControls) {
    SCOPED_TRACE(std::string(spec.name) + " at " + std::to_string(dpi) + " dpi");
    HWND control = window.ControlWindow(spec.id);
    ASSERT_NE(control, nullptr);
    HWND container = spec.container ? window.ControlWindow(*spec.container) : window.Window();
    EXPECT_EQ(GetParent(control), container);
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, TwipsToPixels(spec.rect.left, dpi));
    EXPECT_EQ(rect.top, TwipsToPixels(spec.rect.top, dpi));
    EXPECT_EQ(rect.right - rect.left, TwipsToPixels(spec.rect.width, dpi));
    EXPECT_EQ(rect.bottom - rect.top, TwipsToPixels(spec.rect.height, dpi));
  }
}

TEST_F(MainWindowTest, ControlsSitAtTheirTableRectanglesInTheirContainers) {
  ExpectLayoutAt(window, window.Dpi());
  char caption[64] = {};
  GetWindowTextA(window.Window(), caption, sizeof(caption));
  EXPECT_STREQ(caption, "Scenewright");
  EXPECT_NE(GetClassLongPtrA(window.Window(), GCLP_HICONSM), 0u);
  for (const auto& spec : kControls) {
    EXPECT_EQ((GetWindowLongPtrA(Get(spec.id), GWL_STYLE) & WS_VISIBLE) != 0, spec.visible) << spec.name;
    EXPECT_TRUE(spec.kind == ControlKind::Image || SendMessageA(Get(spec.id), WM_GETFONT, 0, 0)) << spec.name;
    EXPECT_TRUE(spec.text.empty() || Text(spec.id) == spec.text) << spec.name;
  }
  const auto list = static_cast<DWORD>(GetWindowLongPtrA(Get(ControlId::lstWall), GWL_STYLE));
  EXPECT_TRUE(list & LBS_NOTIFY);
  EXPECT_FALSE(list & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));

  // Resizing the window moves nothing; moving to a 144 dpi monitor rebuilds the layout.
  RECT before{};
  GetWindowRect(Get(ControlId::cmdNext), &before);
  SetWindowPos(window.Window(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
  RECT after{};
  GetWindowRect(Get(ControlId::cmdNext), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  RECT suggested{0, 0, 800, 600};
  SendMessageA(window.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ExpectLayoutAt(window, 144);
}

TEST_F(MainWindowTest, SiblingOrderIsTabOrderAndTheOptionsAreOneGroup) {
  // The dialog manager tabs through siblings in window order.
  for (HWND parent : {window.Window(), Get(ControlId::Frame1)}) {
    std::vector<int> tabs;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      const auto& spec = kControls[static_cast<std::size_t>(GetDlgCtrlID(child) - MainWindow::kFirstControlId)];
      if (spec.tabIndex) tabs.push_back(*spec.tabIndex);
    }
    EXPECT_GT(tabs.size(), 5u);
    EXPECT_TRUE(std::is_sorted(tabs.begin(), tabs.end()));
  }
  EXPECT_EQ(GetNextDlgTabItem(window.Window(), Get(ControlId::lstWall), FALSE), Get(ControlId::chkAutostart));

  Load();
  ASSERT_TRUE(Checked(ControlId::optHours));  // the default interval is one hour
  Click(ControlId::optMinutes);
  Click(ControlId::optSeconds);
  EXPECT_FALSE(Checked(ControlId::optHours) || Checked(ControlId::optMinutes));
  EXPECT_EQ(presenter.Control(ControlId::optSeconds).value, 1);
  EXPECT_EQ(presenter.Control(ControlId::optMinutes).value, 0);
}

TEST_F(MainWindowTest, UserEventsReachThePresenterAndItsStateReachesTheControls) {
  Load(3);
  ASSERT_EQ(SendMessageA(Get(ControlId::lstWall), LB_GETCOUNT, 0, 0), 3);

  Click(ControlId::chkRandom);
  EXPECT_EQ(presenter.Control(ControlId::chkRandom).value, 1);
  // Only digits (and Backspace) are typed into the amount; Ctrl+V is discarded too.
  SendMessageA(Get(ControlId::txtTime), EM_SETSEL, 1, 1);
  for (char c : {'a', '-', '.', '\x16', '5'}) Type(ControlId::txtTime, c);
  EXPECT_EQ(Text(ControlId::txtTime), "15");
  EXPECT_EQ(presenter.Control(ControlId::txtTime).text, "15");
  Type(ControlId::txtTime, '\b');
  EXPECT_EQ(presenter.Control(ControlId::txtTime).text, "1");

  Click(ControlId::chkChangeTime);  // unchecked: the amount and unit are disabled at once
  EXPECT_FALSE(IsWindowEnabled(Get(ControlId::txtTime)));
  EXPECT_FALSE(IsWindowEnabled(Get(ControlId::optSeconds)));

  SendMessageA(window.Window(), WM_TIMER, MainWindow::kTimerId, 0);
  EXPECT_EQ(Text(ControlId::lblNextChange), presenter.Countdown());
}

TEST_F(MainWindowTest, AMinimisedWindowHidesAtTheTickAndTheTrayBringsItBack) {
  Load();
  EXPECT_TRUE(presenter.TrayIconAdded());
  ShowWindow(window.Window(), SW_SHOWMAXIMIZED);
  ShowWindow(window.Window(), SW_MINIMIZE);
  SendMessageA(window.Window(), WM_TIMER, MainWindow::kTimerId, 0);
  EXPECT_FALSE(IsWindowVisible(window.Window()));
  EXPECT_TRUE(IsIconic(window.Window()));

  // Moving over the icon or a right click does nothing; a left button release restores.
  SendMessageA(window.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(WM_MOUSEMOVE, 0));
  SendMessageA(window.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(WM_RBUTTONUP, 0));
  EXPECT_FALSE(IsWindowVisible(window.Window()));
  SendMessageA(window.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(WM_LBUTTONUP, 0));
  EXPECT_TRUE(IsWindowVisible(window.Window()));
  EXPECT_FALSE(IsIconic(window.Window()));
  EXPECT_FALSE(IsZoomed(window.Window()));  // normal, though it was maximised before
}

TEST_F(MainWindowTest, EveryWayOfEndingRunsShutDownOnce) {
  Load();
  SendMessageA(window.Window(), WM_QUERYENDSESSION, 0, 0);
  EXPECT_TRUE(presenter.ShutDownDone());
  system.profile.WriteIniValue(FakeSystem::kSettingsFile, "General", "currentindex", "7");
  SendMessageA(window.Window(), WM_ENDSESSION, TRUE, 0);
  SendMessageA(window.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(system.Setting("currentindex"), "7");
  EXPECT_EQ(window.Window(), nullptr);
}

HWND g_focusAtOpen = nullptr;
bool g_visibleAtOpen = false;
HWND g_form = nullptr;

void CALLBACK LookThenClose(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_focusAtOpen = GetFocus();
  g_visibleAtOpen = IsWindowVisible(g_form) != FALSE;
  PostMessageA(g_form, WM_CLOSE, 0, 0);
}

TEST_F(MainWindowTest, RunOpensWithTheFocusOnTheListAndEndsWhenClosed) {
  g_form = window.Window();
  SetTimer(nullptr, 0, 300, LookThenClose);
  EXPECT_EQ(window.Run(), 0);
  EXPECT_TRUE(g_visibleAtOpen);
  EXPECT_EQ(g_focusAtOpen, Get(ControlId::lstWall));
  EXPECT_TRUE(presenter.ShutDownDone());

  // A quit from outside ends the loop with the window still there: its end runs shut-down.
  {
    MainWindow other(GetModuleHandleA(nullptr), system.services());
    ASSERT_TRUE(other.Create());
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR timer, DWORD) {
      KillTimer(nullptr, timer);
      PostQuitMessage(3);
    });
    EXPECT_EQ(other.Run(), 3);
    EXPECT_FALSE(other.presenter().ShutDownDone());
    system.files.files.erase(FakeSystem::kSettingsFile);
  }
  EXPECT_EQ(system.Setting("currentindex"), "-1");
}

}  // namespace
}  // namespace scenewright::win32
