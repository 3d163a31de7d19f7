#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Bmp24Header.h"
#include "platform/linux/BatchWorker.h"
#include "platform/linux/ScreenCover.h"

class QImage;

namespace scenewright::linux_platform {

// A 24-bit bottom-up BMP: the file's own row order and padding.
struct BitmapLayout {
  int width;
  int height;
  std::size_t stride;  // bytes a row, padded to four
  std::uint64_t pixelBytes;
  static constexpr std::uint32_t kHeaderBytes = kBmp24HeaderBytes;
};

// The layout for a picture of that size; nullopt for an empty picture or one whose bitmap
// would pass kMaxBitmapBytes, so that a hostile picture cannot fill the disk.
inline constexpr std::uint64_t kMaxBitmapBytes = 512ull << 20;
std::optional<BitmapLayout> LayoutFor(long long width, long long height);

// Whether a picture of that size may be decoded at all: its bitmap within kMaxBitmapBytes,
// and what its decoder keeps beside the rows it hands out (`workingBytes`) within the same
// budget. Judged from the header alone, before anything large is allocated, so that a small
// file declaring a huge picture is refused as a broken one is.
bool FitsBudget(long long width, long long height, std::uint64_t workingBytes);
// What libjpeg keeps of a JPEG beside its rows (every coefficient of a progressive one), and
// what libwebp keeps of a WebP (every pixel of a lossless or animated one, the alpha plane of
// a lossy one), read from the header; nullopt for a broken header.
std::optional<std::uint64_t> JpegWorkingBytes(std::FILE* jpeg);
std::optional<std::uint64_t> WebpWorkingBytes(int webpFd);

enum class DecodeResult { Written, NotHandled, Failed };

// The rows of a picture, given top-down, written where the bottom-up file keeps them (a batch
// of rows a system call) and fed to the covers of each monitor as they pass, so the picture
// never has to be held in memory or read back. Both happen on a worker thread while the
// caller decodes the next batch.
class BitmapWriter {
 public:
  // Writes the header; nullopt for a picture too large (see LayoutFor) or a write error.
  static std::optional<BitmapWriter> Begin(int fd, long long width, long long height,
                                           const std::optional<ScreenSize>& screen);
  const BitmapLayout& layout() const { return layout_; }
  // The next row's three bytes a pixel, blue, green, red, to be filled and then committed.
  std::uint8_t* Next() {
    return &worker_->Filling()[static_cast<std::size_t>(kRowsABatch - 1 - next_ % kRowsABatch) * layout_.stride];
  }
  bool Commit();
  // The rows come red, green, blue (as libpng and libtiff give them): the worker puts them in
  // the file's order, off the decoding thread. Before the first Commit.
  void TakeRgb() { shared_->rgb = true; }
  bool Complete() const { return next_ == end_; }
  // Leaves this writer the rows before `row` (a multiple of kSplitRows) and returns a second
  // one for the rest, which another thread may fill at the same time; Join takes it back
  // once both are complete. Before the first Commit.
  static constexpr int kSplitRows = 16;
  BitmapWriter SplitAt(int row);
  bool Join(BitmapWriter later);
  // The covers, once every row was committed, when a screen was given and the picture is at
  // least as large as each monitor.
  ScreenCover TakeCover();

 private:
  static constexpr int kRowsABatch = kSplitRows;
  BitmapWriter(int fd, BitmapLayout layout) : fd_(fd), layout_(layout), end_(layout.height) {}
  void StartWorker(bool ownThread = true);
  int fd_;
  BitmapLayout layout_;
  int next_ = 0;
  int end_;  // this writer's rows end here
  // What the worker uses, in one place that stays put when the writer moves.
  struct Shared {
    std::optional<std::vector<CoverScaler>> scalers;
    ScreenCover cover;  // the scalers draw into its pixels
    bool rgb = false;
  };
  std::unique_ptr<Shared> shared_;
  // Batches bottom-up, as in the file; padding stays zero. Ends (joins) before shared_ goes.
  std::unique_ptr<BatchWorker> worker_;
};

// Decoders of the common kinds, row by row straight into the bitmap file, turned by the
// picture's `orientation` (see OrientedWriter), the cover of `screen` left in `cover`.
// NotHandled for what they leave to the general reader (a CMYK JPEG, an interlaced PNG, a BMP
// other than plain 24-bit, an animated WebP, a TIFF other than 8-bit RGB in strips); Failed for a corrupt or truncated file, one too
// large (see FitsBudget), or a write error.
DecodeResult DecodeJpegToBitmap(std::FILE* jpeg, int bitmapFd, const std::optional<ScreenSize>& screen,
                                ScreenCover& cover, int orientation);
DecodeResult DecodePngToBitmap(std::FILE* png, int bitmapFd, const std::optional<ScreenSize>& screen,
                               ScreenCover& cover, int orientation);
DecodeResult DecodeBmpToBitmap(int bmpFd, int bitmapFd, const std::optional<ScreenSize>& screen, ScreenCover& cover);
DecodeResult DecodeGifToBitmap(int gifFd, int bitmapFd, const std::optional<ScreenSize>& screen, ScreenCover& cover);
DecodeResult DecodeWebpToBitmap(int webpFd, int bitmapFd, const std::optional<ScreenSize>& screen,
                                ScreenCover& cover, int orientation);
DecodeResult DecodeTiffToBitmap(int tiffFd, int bitmapFd, const std::optional<ScreenSize>& screen,
                                ScreenCover& cover);

// Writes an image decoded by Qt as the same bitmap, and its cover as above. Transparent
// pixels are drawn over black.
bool WriteImageToBitmap(const QImage& image, int bitmapFd, const std::optional<ScreenSize>& screen, ScreenCover& cover);

}  // namespace scenewright::linux_platform
