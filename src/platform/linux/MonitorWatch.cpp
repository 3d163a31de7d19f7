#include "platform/linux/MonitorWatch.h"

#include <QSocketNotifier>
#include <QTimer>

// Xlib last: its macros (None, Bool, Status...) would break the Qt headers.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace scenewright::linux_platform {

namespace {
// One `xrandr` command sizes the screen, then sets each output: its events come within a few
// milliseconds, and the screen is covered once, after the last.
constexpr int kSettleMs = 50;
}  // namespace

// A connection of its own, so that its events never mix with the toolkit's.
struct MonitorWatch::Connection {
  Display* display = nullptr;
  int eventBase = 0;
  ~Connection() {
    if (display != nullptr) XCloseDisplay(display);
  }
};

MonitorWatch::MonitorWatch(std::function<void()> changed)
    : connection_(std::make_unique<Connection>()), changed_(std::move(changed)) {
  Display* display = XOpenDisplay(nullptr);
  connection_->display = display;
  int errorBase = 0;
  if (display == nullptr || !XRRQueryExtension(display, &connection_->eventBase, &errorBase)) return;
  XRRSelectInput(display, DefaultRootWindow(display),
                 RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
  XFlush(display);
  settled_ = std::make_unique<QTimer>();
  settled_->setSingleShot(true);
  settled_->setInterval(kSettleMs);
  QObject::connect(settled_.get(), &QTimer::timeout, [this] { changed_(); });
  notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadEvents(); });
}

MonitorWatch::~MonitorWatch() = default;

void MonitorWatch::ReadEvents() {
  Display* display = connection_->display;
  bool monitors = false;
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    const int kind = event.type - connection_->eventBase;
    monitors = monitors || kind == RRScreenChangeNotify || kind == RRNotify;
  }
  if (monitors) settled_->start();
}

}  // namespace scenewright::linux_platform
