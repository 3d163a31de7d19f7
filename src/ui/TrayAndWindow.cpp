#include "ui/Presenter.h"

#include <algorithm>

namespace scenewright {

namespace {

constexpr std::uint32_t kLeftButtonUp = 514;

TrayRecord MakeTrayRecord(std::string_view tip) {
  TrayRecord record;
  record.szTip.fill(' ');
  const std::size_t length = std::min(tip.size(), TrayRecord::kTipLength - 1);
  std::copy_n(tip.begin(), length, record.szTip.begin());
  record.szTip[length] = '\0';
  return record;
}

}  // namespace

void Presenter::AddTrayIcon() {
  tray_ = MakeTrayRecord(kWindowCaption);
  const std::string error = view_.AddTrayIcon(tray_);
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

void Presenter::OnTrayMessage(std::uint32_t message) {
  if (message == kLeftButtonUp && view_.GetWindowState() == WindowState::Minimised) view_.RestoreWindow();
}

void Presenter::ShowError(const std::string& description) {
  view_.ShowMessageBox(description, services_.program.ProductName() + " - " + std::string(kWindowCaption));
}

}  // namespace scenewright
