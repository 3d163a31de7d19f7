#include "ui/Presenter.h"

namespace scenewright {

void Presenter::AddTrayIcon() {
  const std::string error = view_.AddTrayIcon(kWindowCaption);
  trayAdded_ = error.empty();
  if (!trayAdded_) ShowError(error);
}

void Presenter::HideIfMinimised() {
  if (!trayAdded_ || view_.GetWindowState() != WindowState::Minimised) return;
  // Without a tray icon on screen nothing could bring a hidden window back, so it stays
  // minimised; and where the tray goes away (a panel that quits), a hidden window comes back.
  if (view_.TrayIconShown()) {
    view_.HideWindow();
    hidden_ = true;
  } else if (hidden_) {
    RestoreFromTray();
  }
}

void Presenter::RestoreFromTray() {
  view_.RestoreWindow();
  hidden_ = false;
}

void Presenter::OnTrayIconRelease() {
  if (view_.GetWindowState() == WindowState::Minimised) RestoreFromTray();
}

void Presenter::OnSecondStart() {
  // Whoever starts the program again wants its window: back from the tray or the task bar.
  if (view_.GetWindowState() == WindowState::Minimised) {
    RestoreFromTray();
  } else {
    view_.RaiseWindow();
  }
}

void Presenter::ShowError(const std::string& description) {
  view_.ShowMessageBox(description, services_.program.ProductName() + " - " + std::string(kWindowCaption));
}

}  // namespace scenewright
