// The bare-X setter under a real X server (Xvfb, from tools/with-desktop.sh), read back from
// the server itself.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "TempFolder.h"
#include "platform/linux/LinuxPictures.h"
#include "platform/linux/Wallpaper.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace scenewright::linux_platform {
namespace {

using namespace scenewright::testing;

bool g_xError = false;
int NoteXError(Display*, XErrorEvent*) {
  g_xError = true;
  return 0;
}

Pixmap RootProperty(Display* display, const char* name) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  Pixmap pixmap = 0;
  if (XGetWindowProperty(display, DefaultRootWindow(display), XInternAtom(display, name, False), 0, 1, False,
                         XA_PIXMAP, &type, &format, &count, &after, &data) == Success &&
      count == 1) {
    pixmap = *reinterpret_cast<Pixmap*>(data);
  }
  if (data) XFree(data);
  return pixmap;
}

QColor PixelOf(Display* display, Drawable drawable, int x, int y) {
  XImage* image = XGetImage(display, drawable, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return {};
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  const Visual* visual = DefaultVisual(display, DefaultScreen(display));
  auto channel = [pixel](unsigned long mask) {
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / (mask >> shift));
  };
  return QColor(channel(visual->red_mask), channel(visual->green_mask), channel(visual->blue_mask));
}

std::string TwoHalves(const TempFolder& dir, const char* name, QColor left, QColor right) {
  QImage picture(200, 100, QImage::Format_RGB32);
  picture.fill(right);
  QPainter(&picture).fillRect(0, 0, 100, 100, left);
  const std::string path = dir / name;
  picture.save(QString::fromStdString(path), "BMP");
  return path;
}

TEST(XRootWallpaper, CoversTheScreenAndFreesThePreviousBackground) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) GTEST_SKIP() << "needs an X display";
  XSetErrorHandler(NoteXError);
  TempFolder dir;
  const int width = DisplayWidth(display, DefaultScreen(display));
  const int height = DisplayHeight(display, DefaultScreen(display));
  const Window root = DefaultRootWindow(display);

  ASSERT_TRUE(SetXRootWallpaper(TwoHalves(dir, "a.bmp", Qt::red, Qt::blue)));
  const Pixmap first = RootProperty(display, "_XROOTPMAP_ID");
  ASSERT_NE(first, 0u);
  EXPECT_EQ(RootProperty(display, "ESETROOT_PMAP_ID"), first);
  // 200 x 100 scaled to cover a 4:3 screen, centred: the colours meet in the middle, the
  // whole height is picture.
  EXPECT_EQ(PixelOf(display, first, width / 2 - 40, 5), QColor(Qt::red));
  EXPECT_EQ(PixelOf(display, first, width / 2 + 40, height - 5), QColor(Qt::blue));
  EXPECT_EQ(PixelOf(display, root, 20, 20), QColor(Qt::red));  // the root window shows it

  ASSERT_TRUE(SetXRootWallpaper(TwoHalves(dir, "b.bmp", Qt::green, Qt::green)));
  const Pixmap second = RootProperty(display, "_XROOTPMAP_ID");
  EXPECT_NE(second, first);
  EXPECT_EQ(PixelOf(display, root, 20, 20), QColor(Qt::green));
  g_xError = false;
  XFreePixmap(display, first);  // fails when the program has already freed it
  XSync(display, False);
  EXPECT_TRUE(g_xError) << "the first background's pixmap is still allocated";

  EXPECT_FALSE(SetXRootWallpaper(dir / "missing.bmp"));
  EXPECT_EQ(RootProperty(display, "_XROOTPMAP_ID"), second);
  XCloseDisplay(display);
}

// A picture larger than the screen is shrunk while it is decoded; the root shows each screen
// pixel as the average of the picture area it covers, cropped to the middle.
TEST(XRootWallpaper, ShowsTheCoverMadeWhileDecoding) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) GTEST_SKIP() << "needs an X display";
  const std::optional<ScreenSize> screen = XRootScreenSize();
  ASSERT_TRUE(screen);
  const int w = screen->width, h = screen->height;
  TempFolder dir;
  LinuxPictures pictures(dir.path(), [&] { return screen; });
  struct Case {
    const char* name;
    int width, height;  // in screens
    QRgb (*pixel)(int x, int y, int width, int height);
    QPoint at[2];
    QColor expected[2];
  };
  for (const Case& c : {
           // One-pixel checks average to grey; nearest-pixel scaling would show black or white.
           Case{"checks.bmp", 2, 2, [](int x, int y, int, int) { return (x + y) % 2 ? qRgb(255, 255, 255) : 0u; },
                {{1, 1}, {w / 2, h / 2}}, {QColor(128, 128, 128), QColor(128, 128, 128)}},
           // Top red, bottom blue, a third of the height cropped: the colours meet mid-screen.
           Case{"halves.jpg", 2, 3,
                [](int, int y, int, int height) { return y < height / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255); },
                {{20, h / 2 - 40}, {w - 20, h / 2 + 40}}, {Qt::red, Qt::blue}},
       }) {
    SCOPED_TRACE(c.name);
    QImage picture(c.width * w, c.height * h, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
      for (int x = 0; x < picture.width(); ++x) row[x] = c.pixel(x, y, picture.width(), picture.height());
    }
    ASSERT_TRUE(picture.save(QString::fromStdString(dir / c.name), nullptr, 95));
    ASSERT_TRUE(pictures.LoadStagingPicture(dir / c.name));
    ASSERT_TRUE(pictures.SaveStagingPictureAsBitmap(dir / "wallpaper.bmp"));
    ScreenCover cover = pictures.TakeCover(dir / "wallpaper.bmp");
    ASSERT_EQ(cover.width, w);
    ASSERT_TRUE(SetXRootWallpaper(dir / "wallpaper.bmp", std::move(cover)));
    for (int i = 0; i < 2; ++i) {
      const QColor shown = PixelOf(display, DefaultRootWindow(display), c.at[i].x(), c.at[i].y());
      for (int channel : {shown.red() - c.expected[i].red(), shown.green() - c.expected[i].green(),
                          shown.blue() - c.expected[i].blue()}) {
        EXPECT_LE(std::abs(channel), 6) << shown.name().toStdString() << " at " << i;
      }
    }
  }
  XCloseDisplay(display);
}

}  // namespace
}  // namespace scenewright::linux_platform
