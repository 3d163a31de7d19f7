// The setters whose desktops are too large to run here: GSettings through dconf on the private
// session bus that tools/with-desktop.sh starts, and the script Plasma is asked to run.
// RealDesktops.sh runs the others for real.
#include <gtest/gtest.h>

#include <QtCore>

#include "TempFolder.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/Wallpaper.h"

namespace scenewright::linux_platform {
namespace {

const std::string kBitmap = "/home/ann/My Pictures/scenewright.bmp";

QString Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(10000);
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

TEST(GSettingsSetters, GnomeCinnamonAndMateNameTheBitmapAndChangeAtEveryCall) {
  const QString uri = QString::fromStdString(FileUri(kBitmap));
  Output("gsettings", {"set", "org.gnome.desktop.background", "picture-options", "centered"});
  // `dconf watch` reports every write it sees; a probe write shows when it has begun to listen.
  QProcess watch;
  QString seen;
  const auto waitFor = [&](const QString& key, int times, const std::function<void()>& poke) {
    QElapsedTimer timer;
    timer.start();
    while (seen.count(key) < times && timer.elapsed() < 10000) {
      poke();
      watch.waitForReadyRead(200);
      seen += QString::fromUtf8(watch.readAllStandardOutput());
    }
  };
  watch.start("dconf", {"watch", "/"});
  int probes = 0;
  waitFor("/probe/sw", 1, [&] { Output("dconf", {"write", "/probe/sw", QString::number(++probes)}); });
  for (int call = 0; call < 2; ++call) {  // the same path twice: the desktop must still reload
    for (const char* desktop : {"GNOME", "X-Cinnamon", "MATE"}) {  // as the program finds them
      testing::ScopedEnv current("XDG_CURRENT_DESKTOP", desktop);
      LinuxDesktop().SetWallpaper(kBitmap);
    }
  }
  for (auto [schema, key, value] : {std::tuple{"org.gnome.desktop.background", "picture-uri", uri},
                                    {"org.gnome.desktop.background", "picture-uri-dark", uri},
                                    {"org.cinnamon.desktop.background", "picture-uri", uri},
                                    {"org.mate.background", "picture-filename", QString::fromStdString(kBitmap)},
                                    {"org.gnome.desktop.background", "picture-options", QString("centered")}}) {
    EXPECT_EQ(Output("gsettings", {"get", schema, key}), "'" + value + "'") << key;  // placement stays the user's
  }
  // Every call changed each key twice, so listeners heard of a new value each time.
  waitFor("/org/mate/desktop/background/picture-filename\n", 4, [] {});
  for (const char* key : {"gnome/desktop/background/picture-uri\n", "cinnamon/desktop/background/picture-uri\n",
                          "mate/desktop/background/picture-filename\n"}) {
    EXPECT_GE(seen.count(QString("/org/") + key), 4) << key << seen.toStdString();
  }
  watch.kill();
  watch.waitForFinished();
  // A schema that is not installed is a silent no-op, not an abort.
  EXPECT_FALSE(SetGSettingsStrings("org.example.not.installed", {"picture-uri"}, "a", "b"));
}

TEST(PlasmaSetter, SetsTheImageOfEveryDesktopAndLeavesThePlacement) {
  const std::string script = PlasmaScript(kBitmap);
  const auto final = script.rfind("d.writeConfig(\"Image\", \"" + FileUri(kBitmap) + "\");");
  const auto first = script.find("d.writeConfig(\"Image\", \"" + FileUri(SecondSpelling(kBitmap)) + "\");");
  ASSERT_NE(final, std::string::npos) << script;
  EXPECT_LT(first, final);  // the other spelling first, so the path itself is a change
  EXPECT_EQ(script.find("FillMode"), std::string::npos);  // placement stays the user's
}

}  // namespace
}  // namespace scenewright::linux_platform

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);  // QtDBus wants one
  // The GSettings writes would change the user's own desktop anywhere else.
  if (std::getenv("SCENEWRIGHT_PRIVATE_DESKTOP") == nullptr) return std::puts("run in tools/with-desktop.sh"), 1;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
