#pragma once

#include <array>
#include <optional>
#include <cstdint>
#include <string>

#include "core/RotationState.h"
#include "core/UniformRandom.h"
#include "storage/WallpaperList.h"
#include "platform/Services.h"
#include "storage/DataFiles.h"
#include "ui/ControlTable.h"
#include "ui/FormView.h"

namespace scenewright {

// The window Form1 without a toolkit: it owns the rotation state, the list and what every
// control shows, and handles every window event. A view creates the widgets from the
// control table and forwards each user event to one of the On... calls.
class Presenter {
 public:
  Presenter(const Services& services, FormView& view);

  void OnLoad();                                // start-up, before the window is first shown
  void OnQueryUnload();                         // shut-down; runs once whatever asks
  void OnTrayIconRelease();                     // primary button released on the tray icon
  void OnSecondStart();                         // another start in this session handed over
  void OnTimer();                               // Timer2, every 100 ms
  void OnNextClick();                           // cmdNext
  void OnAddClick();                            // cmdAdd
  void OnListDrop(const std::vector<std::string>& paths);  // files and folders dropped on lstWall
  void OnFilesLeftOut(const std::vector<std::string>& names);  // picked or dropped, not nameable
  void OnRemoveClick();                         // Command2
  void OnListClick(int selectedIndex);          // lstWall: the user selected a row
  void OnListDoubleClick();                     // lstWall
  void OnSaveClick();                           // cmdSaveConf
  void OnCheckBoxClick(ControlId id, int value);  // the box's value after the click
  void OnOptionClick(ControlId id);             // the user turned this option button on
  void OnTextChanged(ControlId id, const std::string& text);
  bool OnKeyPress(ControlId id, int characterCode);  // false: the character is discarded

  const RotationState& State() const { return state_; }
  const WallpaperList& List() const { return list_; }
  const ControlState& Control(ControlId id) const { return controls_[Index(id)]; }
  const std::string& Countdown() const { return Control(ControlId::lblNextChange).text; }

 private:
  static std::size_t Index(ControlId id) { return static_cast<std::size_t>(id); }
  void SetControl(ControlId id, const ControlState& state);
  void SetEnabled(ControlId id, bool enabled);
  void SetValue(ControlId id, int value);
  void SetText(ControlId id, const std::string& text);
  void ChooseOption(ControlId id);
  void Select(int index);  // a selection made by the program; raises the preview
  void Preview();
  void AddPaths(const std::vector<std::string>& paths);
  void AddPath(std::string path);
  void AddTrayIcon();
  void HideIfMinimised();
  void RestoreFromTray();
  void ShowSettings();
  void ShowInterval(std::int32_t interval);
  void ApplyChangeTimeEnabling();
  std::optional<std::int32_t> IntervalFromFrame();
  void ShowError(const std::string& description);
  void SaveList();

  Services services_;
  FormView& view_;
  RotationState state_;
  WallpaperList list_;
  DataFiles dataFiles_;  // chosen at start-up, then fixed for the run
  UniformRandom random_;
  std::array<ControlState, kControlCount> controls_{};
  int selection_ = -1;
  bool trayAdded_ = false;
  bool hidden_ = false;  // hidden by a minimise, until restored
  bool shutDown_ = false;
};

}  // namespace scenewright
