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
  // Tries the lock once: before the application object, so that work only the first program
  // may do (it writes the user's files) can begin while Qt starts.
  OneProgram();
  // Whether the lock is already this program's.
  bool Held() const { return held_; }
  // With the application object: waits for the lock or tells the program that holds it, and
  // listens once it is this program's. False when another program was told.
  bool First();
  // Called for each later start, from the event loop.
  void OnSecondStart(std::function<void()> show);

 private:
  QLockFile lock_;
  QLocalServer server_;
  bool held_ = false;
};

}  // namespace scenewright::qt
