// Stand-in for plasmashell on a private session bus: records every script it is asked to
// evaluate into the file named on its command line.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QObject>

class PlasmaShell : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")

 public:
  explicit PlasmaShell(QString log) : log_(std::move(log)) {}

 public slots:
  QString evaluateScript(const QString& script) {
    QFile file(log_);
    if (file.open(QIODevice::Append)) file.write(script.toUtf8());
    return {};
  }

 private:
  QString log_;
};

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  if (argc != 2) return 2;
  PlasmaShell shell(QString::fromLocal8Bit(argv[1]));
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject("/PlasmaShell", &shell, QDBusConnection::ExportAllSlots) ||
      !bus.registerService("org.kde.plasmashell")) {
    return 1;
  }
  return QCoreApplication::exec();
}

#include "FakePlasmaShell.moc"
