#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;
class QTimer;

namespace scenewright::linux_platform {

// Hears from RandR when a monitor of the X screen is turned on or off, moved or resized, and
// calls `changed` once the burst of events one change brings has passed. Hears nothing without
// an X display or RandR.
class MonitorWatch {
 public:
  explicit MonitorWatch(std::function<void()> changed);
  ~MonitorWatch();
  MonitorWatch(const MonitorWatch&) = delete;
  MonitorWatch& operator=(const MonitorWatch&) = delete;

 private:
  void ReadEvents();

  struct Connection;
  std::unique_ptr<Connection> connection_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::unique_ptr<QTimer> settled_;
  std::function<void()> changed_;
};

}  // namespace scenewright::linux_platform
