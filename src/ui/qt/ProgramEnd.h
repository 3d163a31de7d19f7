#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace scenewright::qt {

// Calls `end` once the program is asked to end from outside its window: SIGTERM, SIGINT or
// SIGHUP (through a self-pipe, so the handler itself does nothing but write one byte), the
// session manager's save request at logout, or the application quitting by other means.
class ProgramEnd final : public QObject {
 public:
  explicit ProgramEnd(std::function<void()> end, QObject* parent = nullptr);
  ~ProgramEnd() override;

 private:
  void OnSignal();

  std::function<void()> end_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace scenewright::qt
