// Runs a program and prints its wall time in milliseconds, its peak resident memory in KiB
// and the CPU time of all its threads (user and system) in milliseconds: "ms kib cpu-ms".
// With --stdout FILE the program's output goes to FILE.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  int first = 1;
  const char* output = nullptr;
  if (argc > 3 && std::strcmp(argv[1], "--stdout") == 0) {
    output = argv[2];
    first = 3;
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: %s [--stdout FILE] PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    if (output) {
      int fd = open(output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd < 0 || dup2(fd, 1) < 0) _exit(126);
    }
    execvp(argv[first], argv + first);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return 2;
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const auto cpuMs = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
  std::printf("%.1f %ld %.1f\n", ms, usage.ru_maxrss, cpuMs(usage.ru_utime) + cpuMs(usage.ru_stime));
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
