#include <png.h>

#include <csetjmp>
#include <vector>

#include "platform/linux/BitmapFile.h"
#include "platform/linux/OrientedWriter.h"

namespace scenewright::linux_platform {

namespace {

[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

// As with a JPEG, what the loop keeps lives in the caller's `writer` and `pixels`, so a jump
// back from an error leaves only libpng's own structures to destroy.
DecodeResult Decode(png_structp png, png_infop info, int fd, const std::optional<ScreenSize>& screen,
                    std::optional<OrientedWriter>& writer, std::vector<png_byte>& pixels, int orientation) {
  // libpng clears a buffer of a text or metadata chunk's declared length before reading it: a
  // few hundred bytes declaring a gigabyte of text would take a gigabyte. Nothing here uses
  // those chunks (the orientation is read apart), so they are passed over unread.
  static constexpr png_byte kUnused[] = "tEXt\0zTXt\0iTXt\0eXIf\0iCCP\0sPLT";
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnused, 6);
  png_read_info(png, info);
  // Interlaced rows arrive in seven passes over the whole picture: Qt reads those whole.
  if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) return DecodeResult::NotHandled;
  // The chunks' own checksums already cover the compressed data; zlib's second one costs time.
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
  // Every kind of PNG as red, green, blue, eight bits each, or with alpha as blue, green, red
  // and alpha.
  const bool alpha =
      (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  if (alpha) {
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_read_update_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  if (png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * (alpha ? 4 : 3) ||
      !FitsBudget(width, height, TurningBytes(width, height, orientation))) {
    return DecodeResult::Failed;
  }
  writer = OrientedWriter::Begin(fd, width, height, screen, orientation);
  if (!writer) return DecodeResult::Failed;
  if (!alpha) writer->TakeRgb();
  pixels.resize(static_cast<std::size_t>(width) * 4);
  for (png_uint_32 y = 0; y < height; ++y) {
    if (!alpha) {  // straight into the bitmap's row
      png_read_row(png, writer->Next(), nullptr);
      if (!writer->Commit()) return DecodeResult::Failed;
      continue;
    }
    png_read_row(png, pixels.data(), nullptr);
    // Drawn over black: a transparent pixel's colour, whatever it was, shows nothing.
    std::uint8_t* row = writer->Next();
    for (const png_byte* p = pixels.data(); p != pixels.data() + pixels.size(); p += 4, row += 3) {
      const unsigned alpha = p[3];
      for (int c = 0; c < 3; ++c) row[c] = static_cast<std::uint8_t>(alpha == 255 ? p[c] : (p[c] * alpha + 127) / 255);
    }
    if (!writer->Commit()) return DecodeResult::Failed;
  }
  return DecodeResult::Written;
}

}  // namespace

DecodeResult DecodePngToBitmap(std::FILE* file, int bitmapFd, const std::optional<ScreenSize>& screen,
                               ScreenCover& cover, int orientation) {
  std::optional<OrientedWriter> writer;
  std::vector<png_byte> pixels;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return DecodeResult::Failed;
  }
  png_init_io(png, file);
  const DecodeResult result = Decode(png, info, bitmapFd, screen, writer, pixels, orientation);
  png_destroy_read_struct(&png, &info, nullptr);
  if (result == DecodeResult::Written) cover = writer->TakeCover();
  return result;
}

}  // namespace scenewright::linux_platform
