#pragma once

#include <sys/types.h>

#include <QImage>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/Pictures.h"
#include "platform/linux/ScreenCover.h"

namespace scenewright::linux_platform {

// Reads a picture the way the Windows loader would take it: JPEG, GIF, BMP or an icon, and
// also PNG, WebP and TIFF, recognised by content, at its natural size and turned as its EXIF
// orientation says. A null image for anything else, and for a picture whose reading would
// need more memory than kMaxBitmapBytes (judged from its header) or pass Qt's allocation
// limit. Given a `size`, the picture is stretched to it, a JPEG decoded at the nearest reduced
// scale rather than whole.
QImage ReadPicture(const std::string& path, QSize size = {});
// Whether Qt's name for a kind is one of the kinds above (PictureKinds.cpp).
bool IsShownFormat(const QByteArray& format);

// The staging picture is kept as a finished bitmap file, private to the user, beside the
// wallpaper bitmap. A JPEG, a PNG or a plain BMP is decoded straight into it row by row, so
// even a very large photograph never sits in memory whole; saving then only links that file
// into place. Where the desktop shows the picture itself (bare X), the decoded rows also make
// the picture's cover of each monitor, so the large bitmap is never read back.
class LinuxPictures final : public Pictures {
 public:
  // The screen and monitors to cover, asked at each load; nullopt when no cover is wanted.
  using ScreenSizeSource = std::function<std::optional<ScreenSize>()>;

  // Stages in the user's cache folder, where the wallpaper bitmap lives.
  explicit LinuxPictures(ScreenSizeSource screenSize = {});
  explicit LinuxPictures(const std::string& stagingFolder, ScreenSizeSource screenSize = {});

  // Starts decoding a picture on a thread of its own, for a load of the same picture soon
  // after (the start-up change while the window is being made). That load takes the result
  // when the file and the screen are still as they were, and otherwise decodes afresh. Only
  // the spare bitmap is written meanwhile, and only by a decoder that does not call Qt, which
  // may not be running yet; without a spare (a first change) nothing is done ahead.
  void StageAhead(const std::string& path);
  bool LoadStagingPicture(const std::string& path) override;
  bool SaveStagingPictureAsBitmap(const std::string& bitmapPath) override;
  // The kinds ReadPicture takes, recognised by content (PictureKinds.cpp).
  bool IsPicture(const std::string& path) override;
  std::vector<std::string> FilePatterns() override;

  // The cover made with the staged picture, handed over once, and only for the bitmap that
  // picture was last saved as; empty otherwise.
  ScreenCover TakeCover(const std::string& bitmapPath);
  // The picture whose bitmap was last saved; empty before the first save.
  const std::string& SavedPicture() const { return savedPicture_; }

 private:
  // A picture decoded into a bitmap file that is not yet the staging one.
  struct Decoded {
    bool ok = false;
    std::string written;  // the spare, or a temporary
    std::optional<ScreenSize> screen;
    ScreenCover cover;
    // The picture file as it was opened: the same file unchanged has all five the same.
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{}, changed{};
  };
  Decoded Decode(const std::string& path, std::optional<ScreenSize> screen, bool ahead);
  // Whether the file at `path` is still the one decoded, unchanged.
  static bool Unchanged(const Decoded& decoded, const std::string& path);
  // The decode begun ahead, once done, if it is of the file at `path` as it is now, for this
  // screen.
  std::optional<Decoded> TakeAhead(const std::string& path, const std::optional<ScreenSize>& screen);

  std::string stagingFile_;
  std::string spareFile_;  // this host's: a shared folder's other machines have their own
  ScreenSizeSource screenSize_;
  bool staged_ = false;
  ScreenCover cover_;
  std::string coverBitmap_;
  std::string stagedPicture_;
  std::string savedPicture_;
  Decoded ahead_;
  std::jthread aheadThread_;  // last: joined before anything it writes is gone
};

}  // namespace scenewright::linux_platform
