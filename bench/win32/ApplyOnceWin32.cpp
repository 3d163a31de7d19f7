// One picture through the Windows build's loader and bitmap writer, as a process of its own,
// printing whether it was written and the process's peak memory (under Wine: the Linux
// process's own peak, which Wine reports).
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "platform/win32/Win32Services.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PICTURE BITMAP\n", argv[0]);
    return 2;
  }
  scenewright::win32::Win32Pictures pictures;
  const bool written = pictures.LoadStagingPicture(argv[1]) && pictures.SaveStagingPictureAsBitmap(argv[2]);
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  std::printf("%s peak-working-set-mib %.1f peak-commit-mib %.1f\n", written ? "written" : "refused",
              static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20),
              static_cast<double>(counters.PeakPagefileUsage) / (1 << 20));
  return written ? 0 : 1;
}
