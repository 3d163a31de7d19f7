#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <map>
#include <string_view>

#include "platform/Services.h"
#include "ui/ControlTable.h"
#include "ui/FormView.h"
#include "ui/Presenter.h"

class QCloseEvent;
class QListWidget;
class QSystemTrayIcon;
class QTimer;

namespace scenewright::qt {

// Form1: the widgets of the control table, and the toolkit side of every event. Each user
// event goes to the presenter unchanged; the presenter says what to show.
class MainWindow final : public QWidget, public FormView {
 public:
  explicit MainWindow(const Services& services);

  Presenter& presenter() { return presenter_; }
  QWidget* control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }
  QSystemTrayIcon* trayIcon() const { return tray_; }

  // Every end of the program comes here: the window closed, a signal, the session's end.
  void ShutDown();

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

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildControl(const ControlSpec& spec, QWidget* parent);
  void PlaceControl(const ControlSpec& spec, QWidget* widget);
  void BuildTabOrder();
  void BuildTimerAndTray();
  void ConnectEvents();
  QListWidget* list() const;
  bool FilterListDrop(QEvent* event);  // true: the event was the list's file drop, handled here

  Presenter presenter_;
  std::array<QWidget*, kControlCount> controls_{};
  QTimer* timer2_ = nullptr;
  QSystemTrayIcon* tray_ = nullptr;
  QString lastFolder_;
  std::map<ControlId, std::string> hiddenLabelTexts_;  // label texts that came while hidden
};

}  // namespace scenewright::qt
