#include <QImage>

#include "platform/linux/LinuxPictures.h"
#include "platform/linux/Wallpaper.h"

// Xlib last: its macros (None, Bool, Status...) would break the Qt headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <cstdlib>
#include <cstring>
#include <optional>

namespace scenewright::linux_platform {

namespace {

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// The picture scaled to cover a monitor, keeping its proportions, centred and cropped: for a
// picture the decode could not shrink on the way (one smaller than a monitor).
ScreenCover Cover(const QImage& picture, int width, int height) {
  const QImage scaled = picture.scaled(width, height, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
  const QImage cropped = scaled.copy((scaled.width() - width) / 2, (scaled.height() - height) / 2, width, height)
                             .convertToFormat(QImage::Format_RGB32);
  ScreenCover cover{width, height, {}, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    std::memcpy(&cover.pixels[static_cast<std::size_t>(y) * width], cropped.constScanLine(y),
                static_cast<std::size_t>(width) * 4);
  }
  return cover;
}

// The screen, and the monitors RandR reports on it (each output showing a part of the root).
ScreenSize SizeOf(Display* display) {
  const int screen = DefaultScreen(display);
  ScreenSize size{DisplayWidth(display, screen), DisplayHeight(display, screen)};
  int event = 0, error = 0, major = 0, minor = 0, count = 0;
  // Monitors came with RandR 1.5; an older server shows one picture across the screen.
  if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor) ||
      major * 100 + minor < 105) {
    return size;
  }
  if (XRRMonitorInfo* monitors = XRRGetMonitors(display, RootWindow(display, screen), True, &count)) {
    for (int i = 0; i < count; ++i) {
      const XRRMonitorInfo& m = monitors[i];
      if (m.width > 0 && m.height > 0) size.monitors.push_back({m.x, m.y, m.width, m.height});
    }
    XRRFreeMonitors(monitors);
  }
  return size;
}

int Shift(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) mask >>= 1, ++shift;
  return shift;
}

unsigned long Channel(unsigned value, unsigned long mask) {
  const int shift = Shift(mask);
  const unsigned long full = mask >> shift;
  return ((static_cast<unsigned long>(value & 0xFF) * full + 127) / 255) << shift;
}

// The cover as an X image. On the usual 24-bit visual its pixels already are the server's, so
// the image points at them (the caller keeps `cover` alive and detaches the data before
// XDestroyImage); other visuals are converted pixel by pixel.
XImage* ToXImage(Display* display, Visual* visual, int depth, ScreenCover& cover) {
  const auto width = static_cast<unsigned>(cover.width);
  const auto height = static_cast<unsigned>(cover.height);
  XImage* x = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr, width, height, 32, 0);
  if (x == nullptr) return nullptr;
  const std::uint32_t one = 1;
  if (depth == 24 && x->bits_per_pixel == 32 && visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
      visual->blue_mask == 0xFF) {
    x->data = reinterpret_cast<char*>(cover.pixels.data());
    x->bytes_per_line = cover.width * 4;
    // Xlib swaps the bytes on the way where the server's order differs from ours.
    x->byte_order = *reinterpret_cast<const unsigned char*>(&one) == 1 ? LSBFirst : MSBFirst;
    return x;
  }
  x->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(x->bytes_per_line) * height));
  if (x->data == nullptr) {
    XDestroyImage(x);
    return nullptr;
  }
  const std::uint32_t* p = cover.pixels.data();
  for (int y = 0; y < cover.height; ++y) {
    for (int col = 0; col < cover.width; ++col, ++p) {
      XPutPixel(
          x, col, y,
          Channel(*p >> 16, visual->red_mask) | Channel(*p >> 8, visual->green_mask) | Channel(*p, visual->blue_mask));
    }
  }
  cover.pixels = {};  // the image holds its own copy
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

std::optional<ScreenSize> XRootScreenSize() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return std::nullopt;
  ScreenSize size = SizeOf(display);
  XCloseDisplay(display);
  return size;
}

bool SetXRootWallpaper(const std::string& bitmapPath, ScreenCover cover) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  const auto previousHandler = XSetErrorHandler(IgnoreXError);

  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  Visual* visual = DefaultVisual(display, screen);
  const int depth = DefaultDepth(display, screen);
  const ScreenSize size = SizeOf(display);
  const int width = size.width;
  const int height = size.height;
  if (!cover.Fits(size)) {
    const QImage picture = ReadPicture(bitmapPath);
    std::vector<ScreenCover> parts;
    for (const Monitor& monitor : size.Shown()) {
      if (!picture.isNull()) parts.push_back(Cover(picture, monitor.width, monitor.height));
    }
    cover = Compose(size, std::move(parts));
  }
  bool ok = false;
  if (!cover.pixels.empty() && (visual->c_class == TrueColor || visual->c_class == DirectColor)) {
    if (XImage* x = ToXImage(display, visual, depth, cover)) {
      const Pixmap pixmap = XCreatePixmap(display, root, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                          static_cast<unsigned>(depth));
      GC gc = XCreateGC(display, pixmap, 0, nullptr);
      XPutImage(display, pixmap, gc, x, 0, 0, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
      XFreeGC(display, gc);
      if (!cover.pixels.empty()) x->data = nullptr;  // the cover's own pixels, freed with it
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
