#pragma once

#include <string>

namespace scenewright {

// Where the running program lives, and what it calls itself.
class ProgramInfo {
 public:
  virtual ~ProgramInfo() = default;
  // The folder of the running executable, without a trailing separator.
  virtual std::string ProgramFolder() = 0;
  // The executable's file name without its extension.
  virtual std::string ExecutableBaseName() = 0;
  // What the start-at-logon command appends to the base name (".exe" on Windows).
  virtual std::string ExecutableExtension() = 0;
  // The separator between a folder and a name ('\\' on Windows).
  virtual char PathSeparator() = 0;
  // The product name from the program's version information.
  virtual std::string ProductName() = 0;
  // This user's own folder for the program's files, used when the program folder cannot be
  // written; empty when the system names none.
  virtual std::string UserDataFolder() = 0;
  // False where the program's folder belongs to the system and never holds data, whoever runs
  // the program and whatever that user may write.
  virtual bool MayKeepFilesInProgramFolder() { return true; }
};

}  // namespace scenewright
