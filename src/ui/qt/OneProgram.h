#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <functional>

namespace scenewright::qt {

// One program per user: two would both rotate the wallpaper and both save the list, and the
// last to save would lose the other's edits. The first start holds a lock file in the user's
// runtime folder and listens on a local socket beside it; a later start finds the lock held,
// connects (which is the whole message) and ends.
class OneProgram {
 public:
  OneProgram();
  bool First() const { return first_; }
  // Called for each later start, from the event loop.
  void OnSecondStart(std::function<void()> show);

 private:
  QLockFile lock_;
  QLocalServer server_;
  bool first_ = true;
};

}  // namespace scenewright::qt
