#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ControlTable.h"

namespace scenewright {

enum class WindowState : std::uint8_t { Normal, Minimised, Maximised };

// What a user can see of one control besides its fixed place and caption.
struct ControlState {
  bool enabled = true;
  int value = 0;     // check box: 0 or 1; option button: 1 when on
  std::string text;  // text box and labels
  bool operator==(const ControlState&) const = default;
};

// One entry of a file chooser's list of kinds: its name and the name patterns it shows.
struct FileFilter {
  std::string name;
  std::vector<std::string> patterns;
  bool operator==(const FileFilter&) const = default;
};

// The file chooser of Add Files: several existing files may be picked. The first filter is
// the one selected when it opens.
struct FileChooserRequest {
  std::string_view title = "Open";
  std::vector<FileFilter> filters{{"Pictures", {"*.jpg", "*.jpeg", "*.gif", "*.bmp"}}};
};

// The toolkit side of the window. The presenter tells it what to show; the view forwards
// every user event to the presenter and nothing else.
class FormView {
 public:
  virtual ~FormView() = default;

  virtual void ShowControl(ControlId id, const ControlState& state) = 0;
  virtual void ShowListRows(const std::vector<std::string>& rows) = 0;  // the whole list anew
  virtual void ShowListAppend(const std::string& row) = 0;
  virtual void ShowListRemove(int index) = 0;   // a selection on that row goes with it
  virtual void ShowListSelection(int index) = 0;  // -1: nothing selected
  // Loads the picture into the preview; false leaves the previous preview as it was.
  virtual bool ShowPreview(const std::string& path) = 0;

  // Modal; window events, timer ticks included, keep being dispatched while it is up. The
  // full path of each picked file, in the chooser's order; none when cancelled or failed.
  virtual std::vector<std::string> ChooseFiles(const FileChooserRequest& request) = 0;
  virtual void ProcessPendingEvents() = 0;
  // The pointer reset to its default shape, then a modal box with the information icon and OK.
  virtual void ShowMessageBox(const std::string& text, const std::string& title) = 0;

  // The status-area icon, added with this tip and removed once. Empty when the icon was added,
  // or will be as soon as a tray can take it; otherwise the system's description of the failure.
  virtual std::string AddTrayIcon(std::string_view tip) = 0;
  virtual void RemoveTrayIcon() = 0;
  // Whether an added icon is on screen now. Where a tray can come and go after the icon was
  // added (a panel started late or restarted), the view says so here.
  virtual bool TrayIconShown() { return true; }

  virtual WindowState GetWindowState() = 0;
  virtual void HideWindow() = 0;     // off the screen and the task bar
  virtual void RestoreWindow() = 0;  // normal state, shown
  virtual void RaiseWindow() = 0;    // in front and active, its state unchanged
};

}  // namespace scenewright
