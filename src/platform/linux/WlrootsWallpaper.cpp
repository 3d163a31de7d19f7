#include <sys/prctl.h>
#include <unistd.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/linux/Wallpaper.h"
#include "platform/linux/XdgFolders.h"

namespace scenewright::linux_platform {

namespace {

constexpr int kWaitMs = 3000;

bool IsBackgroundMode(const QString& word) {
  static const QStringList kModes = {"stretch", "fill", "fit", "center", "tile"};
  return kModes.contains(word, Qt::CaseInsensitive);
}

// Whether sway reads the path back exactly from '<path>' inside double quotes: its command
// parser gives a meaning to quotes, backslashes, line breaks and '$' (its variables) and keeps
// no run of spaces, and wordexp ends the single-quoted word at a single quote.
bool SwayReadsBack(const std::string& path) {
  if (path.empty() || path.front() != '/') return false;
  char previous = 0;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f || std::string_view("\"'\\$").find(c) != std::string_view::npos ||
        (c == ' ' && previous == ' ')) {
      return false;
    }
    previous = c;
  }
  return true;
}

// A link named `link` to `target`, made or kept; false when the name is taken by anything else.
bool LinkTo(const std::string& target, const std::string& link) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::symlink_status(link, error);
  if (fs::is_symlink(status) && fs::read_symlink(link, error) == target) return true;
  if (fs::exists(status) && !fs::is_symlink(status)) return false;  // not ours to replace
  fs::remove(link, error);
  fs::create_symlink(target, link, error);
  return !error;
}

// The bitmap under a path sway reads back: its own, else a link with a plain name in the
// user's runtime folder, else in a private folder of the temporary one. The link outlives the
// program, since sway reads it again whenever an output comes back. Empty when none will do.
std::string SwayReadablePath(const std::string& bitmapPath) {
  if (SwayReadsBack(bitmapPath)) return bitmapPath;
  const auto linkIn = [&bitmapPath](const std::string& folder) {
    const std::string link = folder + "/scenewright-wallpaper.bmp";
    return SwayReadsBack(link) && IsPrivateFolder(folder) && LinkTo(bitmapPath, link) ? link : std::string();
  };
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string link = runtime != nullptr ? linkIn(runtime) : std::string();
  if (link.empty()) {
    const char* temporary = std::getenv("TMPDIR");
    const std::string folder = std::string(temporary != nullptr && temporary[0] == '/' ? temporary : "/tmp") +
                               "/scenewright-" + std::to_string(::geteuid());
    if (SwayReadsBack(folder)) MakeFolders(folder);
    link = linkIn(folder);
  }
  return link;
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
  // shell word would be: the single quotes keep it literal.
  return "output * bg \"'" + bitmapPath + "'\" " + mode.toStdString();
}

bool SetSwayWallpaper(const std::string& bitmapPath) {
  const std::string path = SwayReadablePath(bitmapPath);
  if (path.empty()) return false;
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
  RunProgram("swaymsg", {"--", SwayBackgroundCommand(path, config)});
  return true;
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
