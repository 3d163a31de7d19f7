// The least an idle Qt program with a 100 ms timer and a hidden window costs: the yardstick
// for the idle figures.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("Idle reference");
  window.resize(462, 290);
  window.show();
  QTimer::singleShot(200, &window, [&] { window.hide(); });
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(100);
  return application.exec();
}
