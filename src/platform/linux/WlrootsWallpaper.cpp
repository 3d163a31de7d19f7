#include <sys/prctl.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <csignal>

#include "platform/linux/Wallpaper.h"

namespace scenewright::linux_platform {

namespace {

constexpr int kWaitMs = 3000;

bool IsBackgroundMode(const QString& word) {
  static const QStringList kModes = {"stretch", "fill", "fit", "center", "tile"};
  return kModes.contains(word, Qt::CaseInsensitive);
}

}  // namespace

std::string SwayBackgroundCommand(const std::string& bitmapPath, const std::string& config) {
  // The placement the user's own configuration chose last ("output * bg x.png center"),
  // else fill; whatever picture it named, the bitmap takes its place.
  QString mode = QStringLiteral("fill");
  for (const QString& line : QString::fromStdString(config).split(QLatin1Char('\n'))) {
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto bg = std::find_if(words.begin(), words.end(), [](const QString& word) {
      return word.compare(QLatin1String("bg"), Qt::CaseInsensitive) == 0 ||
             word.compare(QLatin1String("background"), Qt::CaseInsensitive) == 0;
    });
    for (auto word = bg; word != words.end(); ++word) {
      if (IsBackgroundMode(*word)) mode = word->toLower();
    }
  }
  // sway splits the command at spaces outside double quotes, then expands the path as a
  // shell word would be: single quotes keep it literal, double quotes keep it one word.
  std::string word = "'";
  for (const char c : bitmapPath) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  word += "'";
  std::string quoted = "\"";
  for (const char c : word) {
    if (c == '"') quoted += '\\';  // sway keeps any other backslash as it stands
    quoted += c;
  }
  return "output * bg " + quoted + "\" " + mode.toStdString();
}

void SetSwayWallpaper(const std::string& bitmapPath) {
  std::string reply;
  std::string config;
  if (RunProgram("swaymsg", {"-r", "-t", "get_config"}, &reply)) {
    config = QJsonDocument::fromJson(QByteArray::fromStdString(reply))
                 .object()
                 .value(QLatin1String("config"))
                 .toString()
                 .toStdString();
  }
  // sway starts a new background client for every such command, which reads the file anew.
  RunProgram("swaymsg", {"--", SwayBackgroundCommand(bitmapPath, config)});
}

SwaybgChild::SwaybgChild() = default;

SwaybgChild::~SwaybgChild() { End(); }

void SwaybgChild::End() {
  if (!process_) return;
  process_->terminate();
  if (!process_->waitForFinished(kWaitMs)) {
    process_->kill();
    process_->waitForFinished(kWaitMs);
  }
  process_.reset();
}

void SwaybgChild::Show(const std::string& bitmapPath) {
  // Never two at once: the old one goes before the new one draws.
  End();
  process_ = std::make_unique<QProcess>();
  process_->setStandardOutputFile(QProcess::nullDevice());
  process_->setStandardErrorFile(QProcess::nullDevice());
  // Nor one left behind when this program is killed.
  process_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  process_->start(QStringLiteral("swaybg"),
                  {"-o", "*", "-i", QString::fromStdString(bitmapPath), "-m", "fill"});
  if (!process_->waitForStarted(kWaitMs)) process_.reset();
}

}  // namespace scenewright::linux_platform
