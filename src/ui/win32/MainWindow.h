#pragma once

// Form1 as a Win32 window: the controls of the control table, and one window procedure that
// hands every event to the presenter.

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <string>
#include <vector>

#include "platform/win32/Win32Services.h"
#include "ui/ControlTable.h"
#include "ui/FormView.h"
#include "ui/Presenter.h"

namespace scenewright::win32 {

class MainWindow final : public FormView {
 public:
  static constexpr UINT_PTR kTimerId = 2;
  static constexpr int kFirstControlId = 1000;
  static constexpr const char* kClassName = "ScenewrightForm1";
  // Posted to the window by a second start of the program, which then ends.
  static constexpr const char* kSecondStartMessage = "Scenewright.SecondStart";
  using ShellNotify = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
  using FindTray = HWND (*)();
  // The task bar's window, which holds the tray; none while Explorer is gone.
  static HWND TaskBarWindow() { return FindWindowA("Shell_TrayWnd", nullptr); }

  // The window owns its presenter: the window procedure calls it until the window is gone,
  // so it must not end before the window does.
  // `notify` is the shell's icon call and `findTray` finds the task bar; tests put a refusing
  // or busy shell, and a task bar that is gone, in their place.
  MainWindow(HINSTANCE instance, const Services& services, ShellNotify notify = Shell_NotifyIconA,
             FindTray findTray = TaskBarWindow);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The window with all its controls, not yet shown. False when Windows refused it.
  bool Create();
  Presenter& presenter() { return presenter_; }
  // Starts the timer, runs start-up, shows the window and dispatches events until it closes.
  int Run();

  HWND Window() const { return hwnd_; }
  HWND ControlWindow(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }
  int Dpi() const { return dpi_; }

  // FormView
  void ShowControl(ControlId id, const ControlState& state) override;
  void ShowListRows(const std::vector<std::string>& rows) override;
  void ShowListAppend(const std::string& row) override;
  void ShowListRemove(int index) override;
  void ShowListSelection(int index) override;
  bool ShowPreview(const std::string& path) override;
  std::vector<std::string> ChooseFiles(const FileChooserRequest& request) override;
  void ProcessPendingEvents() override;
  void ShowMessageBox(const std::string& text, const std::string& title) override;
  std::string AddTrayIcon(std::string_view tip) override;
  void RemoveTrayIcon() override;
  bool TrayIconShown() override;
  WindowState GetWindowState() override;
  void HideWindow() override;
  void RestoreWindow() override;
  void RaiseWindow() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR subclassId, DWORD_PTR self);
  static LRESULT CALLBACK TextBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclassId, DWORD_PTR self);
  static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR subclassId, DWORD_PTR self);
  static LRESULT CALLBACK ImageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int controlId, int code);
  void CreateControls();
  void Layout(int dpi);
  void RunShutDown();
  void AddToTray();
  void PaintPreview(HWND image);
  HWND CreateControl(const ControlSpec& spec);
  // The paths the program can name; the others are left out and the user told once.
  std::vector<std::string> NarrowPaths(const std::vector<std::wstring>& paths);

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  int dpi_ = 96;
  HFONT font_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  PicturePtr preview_;
  std::vector<wchar_t> fileBuffer_;
  NOTIFYICONDATAA tray_{};  // the tray record, used to add the icon and to remove it
  bool trayWanted_ = false;  // between adding the icon and removing it, wherever the shell is
  bool iconAdded_ = false;   // the shell took the icon at the last add, and its task bar still exists
  ULONGLONG lastAdd_ = 0;    // when the icon was last added, in GetTickCount64's milliseconds
  ShellNotify notify_;
  FindTray findTray_;
  UINT taskbarCreated_;  // sent to every top-level window when a task bar (Explorer) starts
  UINT secondStart_;
  HWND lastFocus_ = nullptr;
  bool updatingText_ = false;
  bool shutDown_ = false;
  // Alive while the destructor ends the window, whose last messages still reach it.
  Presenter presenter_;
};

}  // namespace scenewright::win32
