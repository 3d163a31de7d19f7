#include <tiffio.h>
#include <unistd.h>

#include <memory>

#include "platform/linux/BitmapFile.h"

namespace scenewright::linux_platform {

namespace {

// A failure shows in the result; libtiff's messages would only go to the terminal.
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct Closer {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
  void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

template <typename T>
T Field(TIFF* tiff, ttag_t tag, T otherwise) {
  T value = otherwise;
  return TIFFGetFieldDefaulted(tiff, tag, &value) == 1 ? value : otherwise;
}

}  // namespace

// The common TIFF, 8-bit red, green and blue samples side by side in strips, read a row at a
// time with libtiff (whatever its compression), so that it never sits in memory whole. Tiles,
// other samples and colour models, and turned pictures go to the general reader.
DecodeResult DecodeTiffToBitmap(int tiffFd, int bitmapFd, const std::optional<ScreenSize>& screen, ScreenCover& cover) {
  const std::unique_ptr<TIFFOpenOptions, Closer> options(TIFFOpenOptionsAlloc());
  if (!options) return DecodeResult::Failed;
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Quiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Quiet, nullptr);
  const int copy = ::dup(tiffFd);  // libtiff closes its own
  if (copy < 0) return DecodeResult::Failed;
  // Read, not mapped: the file is not held in memory whole either.
  const std::unique_ptr<TIFF, Closer> tiff(TIFFFdOpenExt(copy, "picture", "rm", options.get()));
  if (!tiff) {
    ::close(copy);
    return DecodeResult::Failed;
  }
  TIFF* t = tiff.get();
  const auto width = Field<std::uint32_t>(t, TIFFTAG_IMAGEWIDTH, 0),
             height = Field<std::uint32_t>(t, TIFFTAG_IMAGELENGTH, 0);
  if (TIFFIsTiled(t) || Field<std::uint16_t>(t, TIFFTAG_PLANARCONFIG, 0) != PLANARCONFIG_CONTIG ||
      Field<std::uint16_t>(t, TIFFTAG_BITSPERSAMPLE, 0) != 8 ||
      Field<std::uint16_t>(t, TIFFTAG_SAMPLESPERPIXEL, 0) != 3 ||
      Field<std::uint16_t>(t, TIFFTAG_PHOTOMETRIC, 0) != PHOTOMETRIC_RGB ||
      Field<std::uint16_t>(t, TIFFTAG_ORIENTATION, 0) != ORIENTATION_TOPLEFT ||
      TIFFScanlineSize64(t) != std::uint64_t{width} * 3) {
    return DecodeResult::NotHandled;
  }
  auto writer = BitmapWriter::Begin(bitmapFd, width, height, screen);
  if (!writer) return DecodeResult::Failed;
  writer->TakeRgb();
  for (std::uint32_t y = 0; y < height; ++y) {
    if (TIFFReadScanline(t, writer->Next(), y, 0) != 1 || !writer->Commit()) return DecodeResult::Failed;
  }
  cover = writer->TakeCover();
  return DecodeResult::Written;
}

}  // namespace scenewright::linux_platform
