#include <QImage>

#include "platform/linux/LinuxPictures.h"
#include "platform/linux/Wallpaper.h"

// Xlib last: its macros (None, Bool, Status...) would break the Qt headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

namespace scenewright::linux_platform {

namespace {

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// The picture scaled to cover the whole screen, keeping its proportions, centred and cropped.
QImage Cover(const QImage& picture, int width, int height) {
  const QImage scaled = picture.scaled(width, height, Qt::KeepAspectRatioByExpanding,
                                       Qt::SmoothTransformation);
  return scaled.copy((scaled.width() - width) / 2, (scaled.height() - height) / 2, width, height)
      .convertToFormat(QImage::Format_RGB32);
}

int Shift(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) mask >>= 1, ++shift;
  return shift;
}

unsigned long Channel(int value, unsigned long mask) {
  const int shift = Shift(mask);
  const unsigned long full = mask >> shift;
  return ((static_cast<unsigned long>(value) * full + 127) / 255) << shift;
}

XImage* ToXImage(Display* display, Visual* visual, int depth, const QImage& image) {
  XImage* x = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                           static_cast<unsigned>(image.width()),
                           static_cast<unsigned>(image.height()), 32, 0);
  if (x == nullptr) return nullptr;
  x->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(x->bytes_per_line) *
                                           static_cast<std::size_t>(image.height())));
  if (x->data == nullptr) {
    XDestroyImage(x);
    return nullptr;
  }
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int col = 0; col < image.width(); ++col) {
      const QRgb p = row[col];
      XPutPixel(x, col, y,
                Channel(qRed(p), visual->red_mask) | Channel(qGreen(p), visual->green_mask) |
                    Channel(qBlue(p), visual->blue_mask));
    }
  }
  return x;
}

Pixmap ReadPixmapProperty(Display* display, Window root, Atom property) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  Pixmap pixmap = 0;
  if (XGetWindowProperty(display, root, property, 0, 1, False, AnyPropertyType, &type, &format,
                         &count, &after, &data) == Success &&
      type == XA_PIXMAP && format == 32 && count == 1 && data != nullptr) {
    pixmap = *reinterpret_cast<Pixmap*>(data);
  }
  if (data != nullptr) XFree(data);
  return pixmap;
}

// The previous background was kept alive by retaining its client's resources; by the
// convention of the two root properties, killing that client frees them.
void FreePreviousBackground(Display* display, Window root, Atom rootPixmap, Atom esetroot) {
  const Pixmap current = ReadPixmapProperty(display, root, rootPixmap);
  if (current != 0 && current == ReadPixmapProperty(display, root, esetroot)) {
    XKillClient(display, current);
  }
}

}  // namespace

bool SetXRootWallpaper(const std::string& bitmapPath) {
  const QImage picture = ReadPicture(bitmapPath);
  if (picture.isNull()) return false;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  const auto previousHandler = XSetErrorHandler(IgnoreXError);

  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  Visual* visual = DefaultVisual(display, screen);
  const int depth = DefaultDepth(display, screen);
  bool ok = false;
  if (visual->c_class == TrueColor || visual->c_class == DirectColor) {
    const QImage image = Cover(picture, DisplayWidth(display, screen), DisplayHeight(display, screen));
    if (XImage* x = ToXImage(display, visual, depth, image)) {
      const Pixmap pixmap = XCreatePixmap(display, root, static_cast<unsigned>(image.width()),
                                          static_cast<unsigned>(image.height()),
                                          static_cast<unsigned>(depth));
      GC gc = XCreateGC(display, pixmap, 0, nullptr);
      XPutImage(display, pixmap, gc, x, 0, 0, 0, 0, static_cast<unsigned>(image.width()),
                static_cast<unsigned>(image.height()));
      XFreeGC(display, gc);
      XDestroyImage(x);

      const Atom rootPixmap = XInternAtom(display, "_XROOTPMAP_ID", False);
      const Atom esetroot = XInternAtom(display, "ESETROOT_PMAP_ID", False);
      XGrabServer(display);
      FreePreviousBackground(display, root, rootPixmap, esetroot);
      XChangeProperty(display, root, rootPixmap, XA_PIXMAP, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&pixmap), 1);
      XChangeProperty(display, root, esetroot, XA_PIXMAP, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&pixmap), 1);
      XSetWindowBackgroundPixmap(display, root, pixmap);
      XClearWindow(display, root);
      XUngrabServer(display);
      // The pixmap must outlive this connection: it is the background until the next change.
      XSetCloseDownMode(display, RetainPermanent);
      ok = true;
    }
  }
  XSync(display, False);
  XSetErrorHandler(previousHandler);
  XCloseDisplay(display);
  return ok;
}

}  // namespace scenewright::linux_platform
