#include "ui/win32/MainWindow.h"

#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/win32/NarrowPath.h"
#include "ui/Presenter.h"
#include "ui/win32/OpenDialogText.h"
#include "ui/win32/Resources.h"

namespace scenewright::win32 {

namespace {

// Explorer's drop, and the message that carries the dropped names (WM_COPYGLOBALDATA).
constexpr std::array<UINT, 3> kDropMessages{WM_DROPFILES, WM_COPYDATA, 0x0049};

constexpr const char* kImageClassName = "ScenewrightImage";
// Room for the returned text: large enough for any real multiple selection.
constexpr std::size_t kFileBufferSize = 65536;

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up at run time: it exists only from Windows 10 on.
template <typename Fn>
Fn User32Function(const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND hwnd) {
  static const auto getDpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpi != nullptr) {
    const UINT dpi = getDpi(hwnd);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int n = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return text;
}

struct Creation {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

Creation CreationFor(const ControlSpec& spec) {
  constexpr DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
  switch (spec.kind) {
    case ControlKind::Frame:
      return {"BUTTON", child | BS_GROUPBOX | WS_GROUP, WS_EX_CONTROLPARENT};
    case ControlKind::CheckBox:
      return {"BUTTON", child | BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0};
    case ControlKind::OptionButton:
      // The three option buttons are one group: only the first starts it.
      return {"BUTTON",
              child | BS_AUTORADIOBUTTON | WS_TABSTOP | (spec.id == ControlId::optHours ? WS_GROUP : 0),
              0};
    case ControlKind::Button:
      return {"BUTTON", child | BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
    case ControlKind::TextBox:
      return {"EDIT", child | ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
      return {"LISTBOX",
              child | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP |
                  WS_GROUP,
              WS_EX_CLIENTEDGE};
    case ControlKind::Label:
      return {"STATIC", child | SS_LEFT | SS_NOPREFIX | WS_GROUP, 0};
    case ControlKind::PictureBox:
      return {"STATIC", child | SS_LEFT | WS_CLIPCHILDREN | WS_GROUP, WS_EX_CLIENTEDGE};
    case ControlKind::Image:
      return {kImageClassName, child, 0};
  }
  return {"STATIC", child, 0};
}

// The pixels a control's caption may take at `dpi`: a check box or option button gives up its
// box and the gap after it, a button its edges, a frame the run of its line before the caption.
int CaptionRoom(const ControlSpec& spec, int dpi, int zeroWidth) {
  const int width = TwipsToPixels(spec.rect.width, dpi);
  switch (spec.kind) {
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      return width - MulDiv(13, dpi, 96) - std::max(zeroWidth / 2, MulDiv(3, dpi, 96)) - 1;
    case ControlKind::Button:
      return width - 2 * MulDiv(4, dpi, 96);
    case ControlKind::Frame:
      return width - 2 * MulDiv(8, dpi, 96);
    default:
      return width;
  }
}

// Whether every caption of the table, in the font selected into `dc`, fits its control whole.
bool CaptionsFit(HDC dc, int dpi) {
  TEXTMETRICA metrics{};
  INT zeroWidth = 0;
  GetTextMetricsA(dc, &metrics);
  GetCharWidth32A(dc, '0', '0', &zeroWidth);
  for (const ControlSpec& spec : kControls) {
    if (spec.text.empty() || spec.kind == ControlKind::TextBox) continue;
    SIZE extent{};
    GetTextExtentPoint32A(dc, spec.text.data(), static_cast<int>(spec.text.size()), &extent);
    if (extent.cx > CaptionRoom(spec, dpi, zeroWidth) ||
        metrics.tmHeight - metrics.tmInternalLeading > TwipsToPixels(spec.rect.height, dpi)) {
      return false;
    }
  }
  return true;
}

// The controls keep their places and sizes at every scale, and text does not grow in step
// with them: the font is the default GUI font made for `dpi`, or the largest smaller one at
// which every caption is whole.
HFONT FittingFont(int dpi, int systemDpi) {
  LOGFONTA logFont{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
  logFont.lfHeight = MulDiv(logFont.lfHeight, dpi, systemDpi);
  const LONG smallest = std::abs(logFont.lfHeight) / 2;
  HDC dc = GetDC(nullptr);
  for (;;) {
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ old = SelectObject(dc, font);
    const bool fits = CaptionsFit(dc, dpi);
    SelectObject(dc, old);
    if (fits || std::abs(logFont.lfHeight) <= smallest) {
      ReleaseDC(nullptr, dc);
      return font;
    }
    DeleteObject(font);
    logFont.lfHeight += logFont.lfHeight < 0 ? 1 : -1;
  }
}

// Creation order is tab order, which is also the order the dialog manager tabs through.
std::vector<const ControlSpec*> InTabOrder() {
  std::vector<const ControlSpec*> specs;
  for (const auto& spec : kControls) specs.push_back(&spec);
  std::stable_sort(specs.begin(), specs.end(), [](const ControlSpec* a, const ControlSpec* b) {
    return a->tabIndex.value_or(1 << 20) < b->tabIndex.value_or(1 << 20);
  });
  return specs;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, const Services& services, ShellNotify notify, FindTray findTray)
    : instance_(instance),
      fileBuffer_(kFileBufferSize, L'\0'),
      notify_(notify),
      findTray_(findTray),
      taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")),
      secondStart_(RegisterWindowMessageA(kSecondStartMessage)),
      presenter_(services, *this) {}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  // The classes hold the icons: they go first, so that a later window registers them anew.
  UnregisterClassA(kClassName, instance_);
  UnregisterClassA(kImageClassName, instance_);
  if (font_ != nullptr) DeleteObject(font_);
  if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

bool MainWindow::Create() {
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);

  bigIcon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_SCENEWRIGHT), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_SCENEWRIGHT), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));

  WNDCLASSEXA form{};
  form.cbSize = sizeof(form);
  form.lpfnWndProc = WindowProc;
  form.hInstance = instance_;
  form.hIcon = bigIcon_;
  form.hIconSm = smallIcon_;
  form.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kClassName;
  RegisterClassExA(&form);

  WNDCLASSEXA image{};
  image.cbSize = sizeof(image);
  image.lpfnWndProc = ImageProc;
  image.hInstance = instance_;
  image.hCursor = form.hCursor;
  image.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  image.lpszClassName = kImageClassName;
  RegisterClassExA(&image);

  const std::string caption(kWindowCaption);
  hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, caption.c_str(),
                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this);
  if (hwnd_ == nullptr) return false;
  // These come from other processes, which may run at a lower level than an elevated program:
  // the task bar, a second start, and Explorer's drops (here and on the list, which takes them).
  for (UINT message : {taskbarCreated_, secondStart_}) ChangeWindowMessageFilterEx(hwnd_, message, MSGFLT_ALLOW, nullptr);
  for (UINT message : kDropMessages) ChangeWindowMessageFilterEx(hwnd_, message, MSGFLT_ALLOW, nullptr);
  CreateControls();
  Layout(WindowDpi(hwnd_));
  return true;
}

HWND MainWindow::CreateControl(const ControlSpec& spec) {
  const Creation how = CreationFor(spec);
  HWND parent = spec.container ? ControlWindow(*spec.container) : hwnd_;
  const std::string text(spec.text);
  const auto index = static_cast<std::size_t>(spec.id);
  const DWORD visible = spec.visible ? WS_VISIBLE : 0;
  HWND control = CreateWindowExA(how.exStyle, how.className, text.c_str(), how.style | visible, 0, 0,
                                 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)),
                                 instance_, nullptr);
  if (spec.kind == ControlKind::Frame) {
    // Notifications of the frame's children go to the frame; the form handles them.
    SetWindowSubclass(control, ContainerProc, 1, reinterpret_cast<DWORD_PTR>(this));
  } else if (spec.kind == ControlKind::TextBox) {
    SetWindowSubclass(control, TextBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
  } else if (spec.kind == ControlKind::ListBox) {
    // Files dropped from Explorer arrive as the list's own WM_DROPFILES.
    DragAcceptFiles(control, TRUE);
    for (UINT message : kDropMessages) ChangeWindowMessageFilterEx(control, message, MSGFLT_ALLOW, nullptr);
    SetWindowSubclass(control, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
  } else if (spec.kind == ControlKind::Image) {
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  return control;
}

void MainWindow::CreateControls() {
  for (const ControlSpec* spec : InTabOrder()) {
    controls_[static_cast<std::size_t>(spec->id)] = CreateControl(*spec);
  }
}

void MainWindow::Layout(int dpi) {
  dpi_ = dpi;
  // The default GUI font is made for the system DPI; this window may be on another monitor.
  HFONT font = FittingFont(dpi, SystemDpi());

  for (const auto& spec : kControls) {
    HWND control = ControlWindow(spec.id);
    if (control == nullptr) continue;
    MoveWindow(control, TwipsToPixels(spec.rect.left, dpi), TwipsToPixels(spec.rect.top, dpi),
               TwipsToPixels(spec.rect.width, dpi), TwipsToPixels(spec.rect.height, dpi), TRUE);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (font_ != nullptr) DeleteObject(font_);
  font_ = font;

  // The frame as it is now drawn, whatever DPI the system drew it for, around the fixed client.
  RECT outer{};
  RECT client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  const int frameWidth = (outer.right - outer.left) - client.right;
  const int frameHeight = (outer.bottom - outer.top) - client.bottom;
  SetWindowPos(hwnd_, nullptr, 0, 0, TwipsToPixels(kClientWidthTwips, dpi) + frameWidth,
               TwipsToPixels(kClientHeightTwips, dpi) + frameHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int MainWindow::Run() {
  SetTimer(hwnd_, kTimerId, kTimer2PeriodMs, nullptr);
  presenter_.OnLoad();
  if (!shutDown_) {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetFocus(ControlWindow(ControlId::lstWall));
  }
  MSG msg{};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (hwnd_ == nullptr || !IsDialogMessageA(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

void MainWindow::RunShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  presenter_.OnQueryUnload();
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* self = static_cast<MainWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreated_) {
    // A new task bar knows none of the icons: the same record is added again.
    if (trayWanted_) AddToTray();
    return 0;
  }
  if (message == secondStart_) {
    presenter_.OnSecondStart();
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimerId) presenter_.OnTimer();
      return 0;
    case WM_MOUSEMOVE:
      // The tray's callback message: the tray's mouse message stands where x would, and only a
      // release of the left button on the icon means anything.
      if (LOWORD(lParam) == WM_LBUTTONUP) presenter_.OnTrayIconRelease();
      return 0;
    case WM_COMMAND:
      if (lParam != 0) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // Labels, check boxes and option buttons sit on the form's own face colour.
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (lastFocus_ != nullptr && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      Layout(HIWORD(wParam));
      return 0;
    }
    case WM_CLOSE:
      RunShutDown();
      DestroyWindow(hwnd_);
      return 0;
    case WM_QUERYENDSESSION:
      // Windows may end the process right after this answer: save now.
      RunShutDown();
      return TRUE;
    case WM_ENDSESSION:
      RunShutDown();
      if (wParam == FALSE) DestroyWindow(hwnd_);  // shut-down ran: the program ends either way
      return 0;
    case WM_DESTROY:
      RunShutDown();
      KillTimer(hwnd_, kTimerId);
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      HWND hwnd = hwnd_;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void MainWindow::OnCommand(int controlId, int code) {
  const int index = controlId - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(kControlCount)) return;
  const ControlSpec& spec = kControls[static_cast<std::size_t>(index)];
  HWND control = ControlWindow(spec.id);
  switch (spec.kind) {
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) {
        const bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        presenter_.OnCheckBoxClick(spec.id, checked ? 1 : 0);
      }
      break;
    case ControlKind::OptionButton:
      if (code == BN_CLICKED && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        presenter_.OnOptionClick(spec.id);
      }
      break;
    case ControlKind::TextBox:
      if (code == EN_CHANGE && !updatingText_) presenter_.OnTextChanged(spec.id, WindowText(control));
      break;
    case ControlKind::ListBox:
      if (code == LBN_SELCHANGE) {
        presenter_.OnListClick(static_cast<int>(SendMessageA(control, LB_GETCURSEL, 0, 0)));
      } else if (code == LBN_DBLCLK) {
        presenter_.OnListDoubleClick();
      }
      break;
    case ControlKind::Button:
      if (code != BN_CLICKED) break;
      if (spec.id == ControlId::cmdNext) presenter_.OnNextClick();
      if (spec.id == ControlId::cmdAdd) presenter_.OnAddClick();
      if (spec.id == ControlId::Command2) presenter_.OnRemoveClick();
      if (spec.id == ControlId::cmdSaveConf) presenter_.OnSaveClick();
      break;
    default:
      break;
  }
}

LRESULT CALLBACK MainWindow::ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
  auto* window = reinterpret_cast<MainWindow*>(self);
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      if (window->hwnd_ != nullptr) return SendMessageA(window->hwnd_, message, wParam, lParam);
      break;
    case WM_ERASEBKGND: {
      // A group box paints only its frame and caption; the inside is the form's face colour.
      RECT client{};
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, ContainerProc, 1);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::TextBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) {
  auto* window = reinterpret_cast<MainWindow*>(self);
  if (message == WM_CHAR) {
    const int id = GetDlgCtrlID(hwnd) - kFirstControlId;
    if (!window->presenter_.OnKeyPress(kControls[static_cast<std::size_t>(id)].id,
                                        static_cast<int>(wParam))) {
      return 0;  // the typed character is discarded
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, TextBoxProc, 1);
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self) {
  if (message == WM_DROPFILES) {
    auto drop = reinterpret_cast<HDROP>(wParam);
    std::vector<std::wstring> paths(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
    for (UINT i = 0; i < paths.size(); ++i) {
      paths[i].resize(DragQueryFileW(drop, i, nullptr, 0) + 1);
      paths[i].resize(DragQueryFileW(drop, i, paths[i].data(), static_cast<UINT>(paths[i].size())));
    }
    DragFinish(drop);
    auto* window = reinterpret_cast<MainWindow*>(self);
    window->presenter_.OnListDrop(window->NarrowPaths(paths));
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, ListProc, 1);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::ImageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == WM_PAINT && window != nullptr) {
    window->PaintPreview(hwnd);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void MainWindow::PaintPreview(HWND image) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(image, &paint);
  RECT client{};
  GetClientRect(image, &client);
  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  if (preview_ && SUCCEEDED(preview_->get_Width(&hmWidth)) &&
      SUCCEEDED(preview_->get_Height(&hmHeight))) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    // Stretched to the image's own size; HIMETRIC runs upwards, hence the negative height.
    preview_->Render(dc, 0, 0, client.right, client.bottom, 0, hmHeight, hmWidth, -hmHeight, &client);
  }
  EndPaint(image, &paint);
}

void MainWindow::ShowControl(ControlId id, const ControlState& state) {
  HWND control = ControlWindow(id);
  if (control == nullptr) return;
  const ControlSpec& spec = SpecOf(id);
  if ((IsWindowEnabled(control) != 0) != state.enabled) EnableWindow(control, state.enabled);
  switch (spec.kind) {
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      SendMessageA(control, BM_SETCHECK, state.value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ControlKind::TextBox:
    case ControlKind::Label:
      if (WindowText(control) != state.text) {
        updatingText_ = true;
        SetWindowTextA(control, state.text.c_str());
        updatingText_ = false;
      }
      break;
    default:
      break;
  }
}

void MainWindow::ShowListRows(const std::vector<std::string>& rows) {
  HWND list = ControlWindow(ControlId::lstWall);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const auto& row : rows) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void MainWindow::ShowListAppend(const std::string& row) {
  SendMessageA(ControlWindow(ControlId::lstWall), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
}

void MainWindow::ShowListRemove(int index) {
  SendMessageA(ControlWindow(ControlId::lstWall), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void MainWindow::ShowListSelection(int index) {
  SendMessageA(ControlWindow(ControlId::lstWall), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool MainWindow::ShowPreview(const std::string& path) {
  PicturePtr picture = LoadPictureFile(path);
  if (!picture) return false;
  preview_ = std::move(picture);
  InvalidateRect(ControlWindow(ControlId::Picture2), nullptr, TRUE);
  return true;
}

std::vector<std::string> MainWindow::ChooseFiles(const FileChooserRequest& request) {
  // The buffer lives on between showings: the dialog starts with the previous file name.
  fileBuffer_[fileBuffer_.size() - 2] = L'\0';
  fileBuffer_[fileBuffer_.size() - 1] = L'\0';

  const std::wstring filter = WideText(DialogFilter(request));
  const std::wstring title = WideText(request.title);

  // Wide, so that a name the code page lacks comes whole, to be named by its short form.
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = hwnd_;
  dialog.hInstance = instance_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = fileBuffer_.data();
  dialog.nMaxFile = static_cast<DWORD>(std::min<std::size_t>(fileBuffer_.size(), 0x7FFFFFFF));
  dialog.lpstrTitle = title.c_str();
  // Several files, short names as the dialog gives them; a typed name need not exist.
  dialog.Flags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_NOLONGNAMES | OFN_EXPLORER;
  if (!GetOpenFileNameW(&dialog)) return {};  // cancelled, or the dialog failed
  return NarrowPaths(DialogPaths(fileBuffer_.data(), fileBuffer_.size(), dialog.nFileOffset));
}

std::vector<std::string> MainWindow::NarrowPaths(const std::vector<std::wstring>& paths) {
  std::vector<std::string> narrow;
  std::vector<std::string> leftOut;
  for (const std::wstring& path : paths) {
    if (auto name = NarrowPath(path)) {
      narrow.push_back(std::move(*name));
    } else {
      leftOut.push_back(ShownText(path));
    }
  }
  if (!leftOut.empty()) presenter_.OnFilesLeftOut(leftOut);
  return narrow;
}

void MainWindow::ProcessPendingEvents() {
  MSG msg{};
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop to see
      return;
    }
    if (hwnd_ == nullptr || !IsDialogMessageA(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void MainWindow::ShowMessageBox(const std::string& text, const std::string& title) {
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  MessageBoxA(hwnd_, text.c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION);
}

std::string MainWindow::AddTrayIcon(std::string_view tip) {
  tray_.cbSize = NOTIFYICONDATAA_V1_SIZE;  // the first-version record: every shell takes it
  tray_.hWnd = hwnd_;
  tray_.uID = 1;
  tray_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  tray_.uCallbackMessage = WM_MOUSEMOVE;  // arrives as the window's own mouse-move
  tray_.hIcon = smallIcon_;
  // The first-version tip: the text, one NUL, the rest of its 64 characters spaces.
  constexpr std::size_t kTipLength = 64;
  std::memset(tray_.szTip, ' ', kTipLength);
  const std::size_t length = std::min(tip.size(), kTipLength - 1);
  std::memcpy(tray_.szTip, tip.data(), length);
  tray_.szTip[length] = '\0';
  tray_.szTip[sizeof(tray_.szTip) - 1] = '\0';
  // The result is not examined: at logon the task bar may not exist yet, and Explorer may
  // restart at any time; either way the icon comes with the next "TaskbarCreated".
  trayWanted_ = true;
  AddToTray();
  return {};
}

void MainWindow::AddToTray() {
  lastAdd_ = GetTickCount64();
  // An add that timed out in a busy Explorer may still have taken the icon: then only a
  // modification succeeds.
  iconAdded_ = notify_(NIM_ADD, &tray_) || notify_(NIM_MODIFY, &tray_);
}

void MainWindow::RemoveTrayIcon() {
  trayWanted_ = false;
  iconAdded_ = false;
  notify_(NIM_DELETE, &tray_);
}

bool MainWindow::TrayIconShown() {
  // Known from the tray's own events, never by asking Explorer at every tick: the add's
  // answer, "TaskbarCreated", and the task bar's window, whose end takes the icon along.
  if (!trayWanted_) return false;
  if (findTray_() == nullptr) return iconAdded_ = false;
  // An add the shell refused or left unanswered is tried again every few seconds.
  constexpr ULONGLONG kAddAgainMs = 2000;
  if (!iconAdded_ && GetTickCount64() - lastAdd_ >= kAddAgainMs) AddToTray();
  // While the task bar exists, a busy Explorer never brings a hidden window back; only a
  // window not yet hidden waits for an icon it can come back from.
  return iconAdded_ || !IsWindowVisible(hwnd_);
}

WindowState MainWindow::GetWindowState() {
  if (hwnd_ == nullptr) return WindowState::Normal;
  if (IsIconic(hwnd_)) return WindowState::Minimised;
  if (IsZoomed(hwnd_)) return WindowState::Maximised;
  return WindowState::Normal;
}

void MainWindow::HideWindow() {
  // Still minimised while hidden, which is what the tray's restore looks for.
  ShowWindow(hwnd_, SW_HIDE);
}

void MainWindow::RestoreWindow() {
  // Normal, also for a window that was maximised before it was minimised: the first restore
  // brings that one back maximised.
  ShowWindow(hwnd_, SW_RESTORE);
  if (IsZoomed(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  SetForegroundWindow(hwnd_);
}

void MainWindow::RaiseWindow() { SetForegroundWindow(hwnd_); }

}  // namespace scenewright::win32
