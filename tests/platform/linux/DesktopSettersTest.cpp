// The setters whose desktops are too large to run here, against their own stores: GSettings
// through dconf on the private session bus that tools/with-desktop.sh starts, and a stand-in
// that records the script Plasma is asked to run. RealDesktops.sh runs the others for real.
#include <gtest/gtest.h>

#include <QtCore>
#include <QtDBus>

#include "TempFolder.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/Wallpaper.h"

namespace scenewright::linux_platform {
namespace {

using namespace scenewright::testing;

#define REQUIRE_PRIVATE_DESKTOP()                                                   \
  if (std::getenv("SCENEWRIGHT_PRIVATE_DESKTOP") == nullptr)                        \
  GTEST_SKIP() << "needs the private session of tools/with-desktop.sh"

QString Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(10000);
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// A command that keeps printing what changes, read until `enough` says so or 5 s pass.
class Watcher {
 public:
  // `probe` changes something the watcher reports as `marker`: once that is seen, the
  // watcher is listening.
  Watcher(const QString& program, const QStringList& arguments, const std::function<void()>& probe,
          const QString& marker) {
    process_.start(program, arguments);
    process_.waitForStarted(5000);
    QElapsedTimer timer;
    timer.start();
    while (!output_.contains(marker) && timer.elapsed() < 10000) {
      probe();
      ReadUntil([&](const QString& out) { return out.contains(marker); }, 500);
    }
    output_.clear();
  }
  ~Watcher() {
    process_.kill();
    process_.waitForFinished(5000);
  }
  QString ReadUntil(const std::function<bool(const QString&)>& enough, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!enough(output_) && timer.elapsed() < ms) {
      process_.waitForReadyRead(100);
      output_ += QString::fromUtf8(process_.readAllStandardOutput());
    }
    return output_;
  }

 private:
  QProcess process_;
  QString output_;
};

std::string BitmapIn(const TempFolder& dir) {
  std::filesystem::create_directories(dir / "My Pictures");
  return dir / "My Pictures/scenewright.bmp";
}

TEST(GSettingsSetters, GnomeCinnamonAndMateNameTheBitmapAndChangeAtEveryCall) {
  REQUIRE_PRIVATE_DESKTOP();
  TempFolder dir;
  const std::string bitmap = BitmapIn(dir);
  const QString uri = QString::fromStdString(FileUri(bitmap));
  Output("gsettings", {"set", "org.gnome.desktop.background", "picture-options", "centered"});

  int probes = 0;
  Watcher watch("dconf", {"watch", "/"},
                [&] { Output("dconf", {"write", "/probe/scenewright", QString::number(++probes)}); },
                "/probe/scenewright");
  for (int call = 0; call < 2; ++call) {  // the same path twice: the desktop must still reload
    SetGnomeWallpaper(bitmap);
    SetCinnamonWallpaper(bitmap);
    SetMateWallpaper(bitmap);
  }

  for (auto [schema, key] : {std::pair{"org.gnome.desktop.background", "picture-uri"},
                             {"org.gnome.desktop.background", "picture-uri-dark"},
                             {"org.cinnamon.desktop.background", "picture-uri"}}) {
    EXPECT_EQ(Output("gsettings", {"get", schema, key}), "'" + uri + "'") << key;
  }
  EXPECT_EQ(Output("gsettings", {"get", "org.mate.background", "picture-filename"}),
            "'" + QString::fromStdString(bitmap) + "'");
  // The placement style is the user's.
  EXPECT_EQ(Output("gsettings", {"get", "org.gnome.desktop.background", "picture-options"}), "'centered'");

  // Every call changed each key twice, so listeners heard of a new value each time.
  const QString seen = watch.ReadUntil([](const QString& out) { return out.count("/org/mate/desktop/background/picture-filename\n") >= 4; });
  for (const char* key : {"gnome/desktop/background/picture-uri\n", "cinnamon/desktop/background/picture-uri\n",
                          "mate/desktop/background/picture-filename\n"}) {
    EXPECT_GE(seen.count(QString("/org/") + key), 4) << key << seen.toStdString();
  }

  // A schema that is not installed is a silent no-op, not an abort.
  EXPECT_FALSE(SetGSettingsStrings("org.example.not.installed", {"picture-uri"}, "a", "b"));
}

TEST(PlasmaSetter, SendsOneScriptThatSetsTheImageOfEveryDesktop) {
  REQUIRE_PRIVATE_DESKTOP();
  TempFolder dir;
  const std::string bitmap = BitmapIn(dir);
  const std::string log = dir / "scripts.log";
  QProcess plasma;
  plasma.start(QString::fromLocal8Bit(std::getenv("SCENEWRIGHT_FAKE_PLASMASHELL")), {QString::fromStdString(log)});
  ASSERT_TRUE(plasma.waitForStarted(5000));
  QElapsedTimer timer;
  timer.start();
  while (!QDBusConnection::sessionBus().interface()->isServiceRegistered("org.kde.plasmashell") &&
         timer.elapsed() < 5000) {
    QThread::msleep(50);
  }

  ScopedEnv desktop("XDG_CURRENT_DESKTOP", "KDE");
  LinuxDesktop().SetWallpaper(bitmap);
  plasma.kill();
  plasma.waitForFinished(5000);

  const std::string script = ReadBytes(log);
  const std::string uri = FileUri(bitmap);
  const std::string nudge = FileUri(SecondSpelling(bitmap));
  const auto final = script.rfind("d.writeConfig(\"Image\", \"" + uri + "\");");
  const auto first = script.find("d.writeConfig(\"Image\", \"" + nudge + "\");");
  ASSERT_NE(final, std::string::npos) << script;
  EXPECT_LT(first, final);  // the other spelling first, so the path itself is a change
  EXPECT_NE(script.find("for (var i = 0; i < all.length; i++)"), std::string::npos);
  EXPECT_EQ(script.find("FillMode"), std::string::npos);  // placement stays the user's
}

}  // namespace
}  // namespace scenewright::linux_platform

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);  // QtDBus wants one
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
