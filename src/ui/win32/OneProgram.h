#pragma once

#include <windows.h>

namespace scenewright::win32 {

// One program per user session: two would both rotate the wallpaper and both save the list,
// and the last to save would lose the other's edits. The first start holds a named mutex in
// the session's namespace; a later start finds it held.
class OneProgram {
 public:
  OneProgram();
  ~OneProgram();
  OneProgram(const OneProgram&) = delete;
  OneProgram& operator=(const OneProgram&) = delete;

  bool First() const { return first_; }
  // Asks the first program to show its window, waiting a few seconds for the window to exist
  // (the first may still be starting).
  static void HandOver();

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = true;
};

}  // namespace scenewright::win32
