#include "ui/Presenter.h"

namespace scenewright {

void Presenter::AddTrayIcon() {
  const std::string error = view_.AddTrayIcon(kWindowCaption);
  trayAdded_ = error.empty();
  if (!trayAdded_) ShowError(error);
}

void Presenter::HideIfMinimised() {
  // Without a tray icon on screen nothing could bring a hidden window back, so it stays
  // minimised.
  if (trayAdded_ && view_.GetWindowState() == WindowState::Minimised && view_.TrayIconShown()) {
    view_.HideWindow();
  }
}

void Presenter::OnTrayIconRelease() {
  if (view_.GetWindowState() == WindowState::Minimised) view_.RestoreWindow();
}

void Presenter::ShowError(const std::string& description) {
  view_.ShowMessageBox(description, services_.program.ProductName() + " - " + std::string(kWindowCaption));
}

}  // namespace scenewright
