#pragma once

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/Pictures.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramInfo.h"
#include "platform/Registry.h"

namespace scenewright {

// Every system service the program uses, injected once at start.
struct Services {
  Clock& clock;
  ProfileFile& profile;
  FileSystem& files;
  Registry& registry;
  Pictures& pictures;
  Desktop& desktop;
  ProgramInfo& program;
  Locale& locale;
};

}  // namespace scenewright
