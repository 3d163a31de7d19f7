#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "platform/linux/Wallpaper.h"

namespace scenewright::linux_platform {

namespace {

// A desktop that hangs must not hold the window for long.
constexpr int kCallTimeoutMs = 3000;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QDBusMessage Call(const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& arguments) {
  QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
  message.setArguments(arguments);
  return QDBusConnection::sessionBus().call(message, QDBus::Block, kCallTimeoutMs);
}

// A JavaScript string literal holding `text`.
std::string ScriptString(const std::string& text) {
  std::string literal = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      literal += '\\';
      literal += c;
    } else if (u < 0x20) {
      static const char* const kHex = "0123456789abcdef";
      literal += "\\u00";
      literal += kHex[u >> 4];
      literal += kHex[u & 15];
    } else {
      literal += c;
    }
  }
  return literal + "\"";
}

}  // namespace

std::string SecondSpelling(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return "./" + path;
  return path.substr(0, slash) + "/." + path.substr(slash);
}

void SetXfceWallpaper(const std::string& bitmapPath) {
  const QString service = QStringLiteral("org.xfce.Xfconf");
  const QString object = QStringLiteral("/org/xfce/Xfconf");
  const QString interface = QStringLiteral("org.xfce.Xfconf");
  const QString channel = QStringLiteral("xfce4-desktop");
  const QDBusReply<QVariantMap> all =
      Call(service, object, interface, QStringLiteral("GetAllProperties"),
           {channel, QStringLiteral("/backdrop")});
  if (!all.isValid()) return;
  QStringList properties;
  for (auto it = all.value().cbegin(); it != all.value().cend(); ++it) {
    // One property per monitor and workspace; xfdesktop 4.10 and older use image-path.
    if (it.key().endsWith(QLatin1String("/last-image")) ||
        it.key().endsWith(QLatin1String("/image-path"))) {
      properties << it.key();
    }
  }
  // xfdesktop redraws on a property change, so every property changes twice.
  for (const QString& value : {Q(SecondSpelling(bitmapPath)), Q(bitmapPath)}) {
    for (const QString& property : properties) {
      Call(service, object, interface, QStringLiteral("SetProperty"),
           {channel, property, QVariant::fromValue(QDBusVariant(value))});
    }
  }
}

std::string PlasmaScript(const std::string& bitmapPath) {
  // Plasma caches pictures by their address: only a changed "Image" makes it read the file
  // again, hence the second spelling first.
  const std::string nudge = ScriptString(FileUri(SecondSpelling(bitmapPath)));
  const std::string image = ScriptString(FileUri(bitmapPath));
  return "var all = desktops();\n"
         "for (var i = 0; i < all.length; i++) {\n"
         "  var d = all[i];\n"
         "  d.wallpaperPlugin = \"org.kde.image\";\n"
         "  d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
         "  d.writeConfig(\"Image\", " + nudge + ");\n"
         "  d.writeConfig(\"Image\", " + image + ");\n"
         "}\n";
}

void SetPlasmaWallpaper(const std::string& bitmapPath) {
  Call(QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
       QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"),
       {Q(PlasmaScript(bitmapPath))});
}

bool RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                std::string* output) {
  QProcess process;
  if (output == nullptr) process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  QStringList list;
  for (const std::string& argument : arguments) list << Q(argument);
  process.start(Q(program), list);
  if (!process.waitForStarted(kCallTimeoutMs)) return false;
  if (!process.waitForFinished(kCallTimeoutMs)) {
    process.kill();
    process.waitForFinished(kCallTimeoutMs);
    return false;
  }
  if (output != nullptr) *output = process.readAllStandardOutput().toStdString();
  return true;
}

void SetPcmanfmWallpaper(const std::string& program, const std::string& bitmapPath) {
  // pcmanfm and pcmanfm-qt ignore a path equal to the one they show, so the second
  // spelling goes first. Each call hands the path to the running desktop and returns.
  for (const std::string& path : {SecondSpelling(bitmapPath), bitmapPath}) {
    if (!RunProgram(program, {"--set-wallpaper", path})) return;
  }
}

}  // namespace scenewright::linux_platform
