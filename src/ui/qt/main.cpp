#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QIcon>
#include <optional>
#include <thread>

#include "core/Lifecycle.h"
#include "platform/linux/AutostartRegistry.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/linux/PosixFiles.h"
#include "platform/linux/LinuxPictures.h"
#include "platform/linux/MonitorWatch.h"
#include "platform/linux/Wallpaper.h"
#include "storage/PortableProfileFile.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/OneProgram.h"
#include "ui/qt/ProgramEnd.h"

int main(int argc, char* argv[]) {
  // A Wayland compositor never tells a window it was minimised, so a minimised window could
  // not go to the tray: where an X server answers (XWayland included), the program runs on it.
  // A Wayland session without one (or with a stale DISPLAY) gets Qt's own Wayland platform.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    if (scenewright::linux_platform::XRootScreenSize()) {
      qputenv("QT_QPA_PLATFORM", "xcb");
    } else if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
      qputenv("QT_QPA_PLATFORM", "wayland");
    }
  }
  // Loading the font configuration takes a few milliseconds the window's first text would
  // wait for; it runs beside Qt's own start-up and the one-program check instead.
  std::jthread fonts([] { FcInit(); });
  // A second start shows the running program's window and ends before any file is read.
  scenewright::qt::OneProgram one;

  using namespace scenewright::linux_platform;
  PosixFileSystem files;
  scenewright::PortableProfileFile profile(files);
  LinuxProgramInfo program;
  LinuxPictures pictures(LinuxDesktop::BareScreenSize);
  // The start-up change's picture is decoded while Qt starts and the window is made, which
  // take as long as a large photograph's decoding on one core.
  if (one.Held()) {
    if (const auto picture = scenewright::ForeseeStartUpPicture(files, profile, program)) pictures.StageAhead(*picture);
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Scenewright"));
  QApplication::setDesktopFileName(QStringLiteral("scenewright"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/scenewright.xpm")));
  // The tray icon and the message box are no reason to go on or to stop: only Form1's
  // close (or a signal, or the session's end) ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  if (!one.First()) return 0;

  LinuxClock clock;
  AutostartRegistry registry;
  LinuxDesktop desktop(&pictures);
  // On a bare X server this program draws the root itself, so it alone can fit the picture
  // to monitors that come, go or change size.
  std::optional<MonitorWatch> monitors;
  if (LinuxDesktop::BareScreenSize()) monitors.emplace([&desktop] { desktop.CoverAgain(); });
  LinuxLocale locale;
  const scenewright::Services services{clock, profile, files, registry, pictures, desktop, program, locale};

  fonts.join();
  scenewright::qt::MainWindow window(services);
  scenewright::qt::ProgramEnd end([&window] { window.ShutDown(); });
  one.OnSecondStart([&window] { window.presenter().OnSecondStart(); });
  window.presenter().OnLoad();
  window.show();
  return QApplication::exec();
}
