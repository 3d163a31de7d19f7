// The setters under the private desktop of tools/with-desktop.sh: the bare-X one read back from
// the X server itself, GSettings through dconf on its session bus, and the script Plasma is
// asked to run. RealDesktops.sh runs the others for real.
#include <gtest/gtest.h>

#include <QImage>
#include <QtCore>

#include "TempFolder.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxPictures.h"
#include "platform/linux/Wallpaper.h"

// Last: Xlib's macros (Status, None) clash with Qt's and GoogleTest's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace scenewright::linux_platform {
namespace {

using namespace scenewright::testing;

const std::string kBitmap = "/home/ann/My Pictures/scenewright.bmp";
bool g_xError = false;

Pixmap RootProperty(Display* display, const char* name) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(display, DefaultRootWindow(display), XInternAtom(display, name, False), 0, 1, False, XA_PIXMAP,
                     &type, &format, &count, &after, &data);
  const Pixmap pixmap = count == 1 ? *reinterpret_cast<Pixmap*>(data) : 0;
  if (data) XFree(data);
  return pixmap;
}

QColor PixelOf(Display* display, Drawable drawable, int x, int y) {  // on a 24-bit true-colour screen
  XImage* image = XGetImage(display, drawable, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return {};
  const QColor colour(static_cast<QRgb>(XGetPixel(image, 0, 0)));
  XDestroyImage(image);
  return colour;
}

std::string Paint(const TempFolder& dir, const char* name, int width, int height, QRgb (*pixel)(int x, int y, int h)) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int i = 0; i < width * height; ++i) picture.setPixel(i % width, i / width, pixel(i % width, i / width, height));
  EXPECT_TRUE(picture.save(QString::fromStdString(dir / name), nullptr, 95));
  return dir / name;
}

TEST(XRootWallpaper, CoversTheScreenWithTheAveragedCoverAndFreesThePreviousBackground) {
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  XSetErrorHandler([](Display*, XErrorEvent*) { return g_xError = true, 0; });
  const std::optional<ScreenSize> screen = XRootScreenSize();
  ASSERT_TRUE(screen);
  const int w = screen->width, h = screen->height;
  const QColor red(Qt::red), blue(Qt::blue), grey(128, 128, 128);
  TempFolder dir;
  LinuxPictures pictures(dir.path(), [&] { return screen; });
  const std::string bitmap = dir / "wallpaper.bmp";
  // A small picture is scaled to cover the screen, centred. A larger one is shrunk while it is
  // decoded, each screen pixel the average of the area it covers: one-pixel checks show grey
  // (nearest-pixel scaling, black or white); top red and bottom blue, cropped, meet mid-screen.
  const std::string sides =
      Paint(dir, "sides.bmp", 200, 100, [](int x, int, int) { return x < 100 ? 0xff0000u : 0xffu; });
  const std::string checks =
      Paint(dir, "checks.bmp", 2 * w, 2 * h, [](int x, int y, int) { return (x + y) % 2 ? 0xffffffu : 0u; });
  const std::string halves =
      Paint(dir, "halves.jpg", 2 * w, 3 * h, [](int, int y, int ph) { return y < ph / 2 ? 0xff0000u : 0xffu; });
  for (auto [picture, coverWidth, at, expected] :
       {std::tuple{sides, 0, QPoint(w / 2 - 40, 5), red}, {sides, 0, QPoint(w / 2 + 40, h - 5), blue},
        {checks, w, QPoint(1, 1), grey}, {checks, w, QPoint(w / 2, h / 2), grey},
        {halves, w, QPoint(20, h / 2 - 40), red}, {halves, w, QPoint(w - 20, h / 2 + 40), blue}}) {
    SCOPED_TRACE(picture);
    const Pixmap before = RootProperty(display, "_XROOTPMAP_ID");
    ASSERT_TRUE(pictures.LoadStagingPicture(picture) && pictures.SaveStagingPictureAsBitmap(bitmap));
    ScreenCover cover = pictures.TakeCover(bitmap);
    ASSERT_EQ(cover.width, coverWidth);
    ASSERT_TRUE(SetXRootWallpaper(bitmap, std::move(cover)));
    const Pixmap now = RootProperty(display, "_XROOTPMAP_ID");
    EXPECT_EQ(RootProperty(display, "ESETROOT_PMAP_ID"), now);
    EXPECT_EQ(PixelOf(display, DefaultRootWindow(display), 20, 20), PixelOf(display, now, 20, 20));  // shown
    const QColor shown = PixelOf(display, now, at.x(), at.y());
    EXPECT_LE(std::abs(shown.red() - expected.red()) + std::abs(shown.green() - expected.green()) +
                  std::abs(shown.blue() - expected.blue()), 12) << shown.name().toStdString();
    if (before == 0) continue;
    g_xError = false;
    XFreePixmap(display, before);  // fails when the program has already freed it
    XSync(display, False);
    EXPECT_TRUE(g_xError) << "the previous background's pixmap is still allocated";
  }
  XCloseDisplay(display);
}

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
      ScopedEnv current("XDG_CURRENT_DESKTOP", desktop);
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
  // Plasma's script sets the image of every desktop, the other spelling first so that the path
  // itself is a change, and leaves the placement.
  const std::string script = PlasmaScript(kBitmap);
  const auto final = script.rfind("d.writeConfig(\"Image\", \"" + FileUri(kBitmap) + "\");");
  ASSERT_NE(final, std::string::npos) << script;
  EXPECT_LT(script.find("d.writeConfig(\"Image\", \"" + FileUri(SecondSpelling(kBitmap)) + "\");"), final);
  EXPECT_EQ(script.find("FillMode"), std::string::npos);
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
