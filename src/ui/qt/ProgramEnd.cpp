#include "ui/qt/ProgramEnd.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>

namespace scenewright::qt {

namespace {

int g_pipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void WriteSignal(int signal) {
  const int saved = errno;
  const char byte = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

ProgramEnd::ProgramEnd(std::function<void()> end, QObject* parent)
    : QObject(parent), end_(std::move(end)) {
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) == 0) {
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { OnSignal(); });
    struct sigaction action {};
    action.sa_handler = WriteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
  }
  // Logging out: the index is saved while the session can still wait for it.
  connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { end_(); });
  connect(qGuiApp, &QCoreApplication::aboutToQuit, this, [this] { end_(); });
}

ProgramEnd::~ProgramEnd() {
  if (notifier_ == nullptr) return;
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void ProgramEnd::OnSignal() {
  char bytes[16];
  while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
  }
  end_();
}

}  // namespace scenewright::qt
