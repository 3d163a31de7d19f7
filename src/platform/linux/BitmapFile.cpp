#include "platform/linux/BitmapFile.h"

#include <unistd.h>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>

#include "platform/Bmp24Header.h"
#include "platform/linux/PosixFiles.h"

namespace scenewright::linux_platform {

namespace {

// Rows decoded and written with one system call.
constexpr int kRowsABatch = 16;

bool WriteHeader(int fd, const BitmapLayout& layout) {
  const auto header = Bmp24Header(static_cast<std::uint32_t>(layout.width), static_cast<std::uint32_t>(layout.height),
                                  static_cast<std::uint32_t>(layout.pixelBytes));
  return WriteAllAt(fd, header.data(), header.size(), 0);
}

std::uint64_t RowOffset(const BitmapLayout& layout, int rowFromTop) {
  return BitmapLayout::kHeaderBytes + static_cast<std::uint64_t>(layout.height - 1 - rowFromTop) * layout.stride;
}

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf failed;
};

[[noreturn]] void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->failed, 1); }

// A picture cut short would otherwise be finished in grey and applied as if whole.
void OnJpegMessage(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC)) {
    OnJpegError(info);
  }
}

// Everything the decode loop changes lives in libjpeg's own memory, so a jump back from an
// error leaves nothing to clean up but the decompressor.
DecodeResult Decode(jpeg_decompress_struct& info, int fd, std::optional<ScreenSize> screen,
                    std::optional<CoverScaler>& scaler) {
  jpeg_read_header(&info, TRUE);
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) return DecodeResult::NotHandled;
  const auto layout = LayoutFor(info.image_width, info.image_height);
  if (!layout) return DecodeResult::Failed;
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || !WriteHeader(fd, *layout)) return DecodeResult::Failed;
  if (screen) scaler = CoverScaler::For(layout->width, layout->height, *screen);

  JSAMPARRAY batch = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                static_cast<JDIMENSION>(layout->stride), kRowsABatch);
  for (int i = 0; i < kRowsABatch; ++i) std::memset(batch[i], 0, layout->stride);
  // The file runs bottom-up, so a batch is laid out last row first and written in one go.
  const std::size_t batchBytes = layout->stride * kRowsABatch;
  std::uint8_t* block = batch[0];
  for (int i = 1; i < kRowsABatch && block; ++i) {
    if (batch[i] != batch[0] + layout->stride * static_cast<std::size_t>(i)) block = nullptr;
  }
  while (info.output_scanline < info.output_height) {
    const int first = static_cast<int>(info.output_scanline);
    const int count = std::min<int>(kRowsABatch, static_cast<int>(info.output_height) - first);
    JSAMPROW rows[kRowsABatch];
    for (int i = 0; i < count; ++i) rows[i] = batch[kRowsABatch - 1 - i];
    for (int done = 0; done < count;) {
      done += static_cast<int>(jpeg_read_scanlines(&info, rows + done, static_cast<JDIMENSION>(count - done)));
    }
    if (scaler) {
      for (int i = 0; i < count; ++i) scaler->AddRow(rows[i]);
    }
    if (block) {
      const std::size_t bytes = layout->stride * static_cast<std::size_t>(count);
      if (!WriteAllAt(fd, block + batchBytes - bytes, bytes, RowOffset(*layout, first + count - 1))) {
        return DecodeResult::Failed;
      }
    } else {
      for (int i = 0; i < count; ++i) {
        if (!WriteAllAt(fd, rows[i], layout->stride, RowOffset(*layout, first + i))) return DecodeResult::Failed;
      }
    }
  }
  jpeg_finish_decompress(&info);
  return DecodeResult::Written;
}

}  // namespace

std::optional<BitmapLayout> LayoutFor(long long width, long long height) {
  if (width <= 0 || height <= 0 || width > 0x7fffffff || height > 0x7fffffff) return std::nullopt;
  const auto stride = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
  const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
  if (pixelBytes > kMaxBitmapBytes) return std::nullopt;
  return BitmapLayout{static_cast<int>(width), static_cast<int>(height), static_cast<std::size_t>(stride), pixelBytes};
}

DecodeResult DecodeJpegToBitmap(std::FILE* jpeg, int bitmapFd, std::optional<ScreenSize> screen, ScreenCover* cover) {
  // Outside the frame an error jumps out of, so that it is still destroyed.
  std::optional<CoverScaler> scaler;
  jpeg_decompress_struct info;
  JpegErrors errors;
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = OnJpegError;
  errors.manager.emit_message = OnJpegMessage;
  jpeg_create_decompress(&info);
  if (setjmp(errors.failed)) {
    jpeg_destroy_decompress(&info);
    return DecodeResult::Failed;
  }
  jpeg_stdio_src(&info, jpeg);
  const DecodeResult result = Decode(info, bitmapFd, screen, scaler);
  jpeg_destroy_decompress(&info);
  if (result == DecodeResult::Written && scaler && cover) *cover = scaler->Take();
  return result;
}

bool WriteImageToBitmap(const QImage& image, int bitmapFd, std::optional<ScreenSize> screen, ScreenCover* cover) {
  const auto layout = LayoutFor(image.width(), image.height());
  if (!layout) return false;
  if (!WriteHeader(bitmapFd, *layout)) return false;
  std::vector<std::uint8_t> row(layout->stride, 0);
  const auto rowBytes = static_cast<std::size_t>(layout->width) * 3;
  auto scaler = screen ? CoverScaler::For(layout->width, layout->height, *screen) : std::nullopt;
  // Converted a batch of rows at a time, so a large picture is not held twice.
  for (int first = 0; first < layout->height; first += kRowsABatch) {
    const int count = std::min(kRowsABatch, layout->height - first);
    // Without alpha, every desktop's loader reads the file the same way.
    const QImage bgr = image.copy(0, first, layout->width, count).convertToFormat(QImage::Format_BGR888);
    if (bgr.isNull()) return false;
    for (int y = 0; y < count; ++y) {
      std::memcpy(row.data(), bgr.constScanLine(y), rowBytes);
      if (!WriteAllAt(bitmapFd, row.data(), row.size(), RowOffset(*layout, first + y))) return false;
      if (scaler) scaler->AddRow(row.data());
    }
  }
  if (scaler && cover) *cover = scaler->Take();
  return true;
}

}  // namespace scenewright::linux_platform
