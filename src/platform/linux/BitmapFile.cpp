#include "platform/linux/BitmapFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include <QImage>
#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>

#include "platform/Bmp24Header.h"
#include "platform/linux/OrientedWriter.h"
#include "platform/linux/PosixFiles.h"

namespace scenewright::linux_platform {

namespace {

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

// A progressive picture's coefficients are all kept until its last scan; a sequential one
// needs only a row of blocks.
std::uint64_t CoefficientBytes(jpeg_decompress_struct& info) {
  if (!jpeg_has_multiple_scans(&info)) return 0;
  std::uint64_t blocks = 0;
  for (int c = 0; c < info.num_components; ++c) {
    blocks += std::uint64_t{info.comp_info[c].width_in_blocks} * info.comp_info[c].height_in_blocks;
  }
  return blocks * sizeof(JBLOCK);
}

// Errors jump back to the frame that set `errors.failed`.
void StartReading(jpeg_decompress_struct& info, JpegErrors& errors, std::FILE* jpeg) {
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = OnJpegError;
  errors.manager.emit_message = OnJpegMessage;
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, jpeg);
}

// The rows up to `end` into `writer`; false when one could not be written.
template <typename Writer>
bool ReadRows(jpeg_decompress_struct& info, JDIMENSION end, Writer& writer) {
  while (info.output_scanline < end) {
    JSAMPROW row = writer.Next();
    while (jpeg_read_scanlines(&info, &row, 1) != 1) {
    }
    if (!writer.Commit()) return false;
  }
  return true;
}

// The row from which a second decompressor, on another core, takes a large sequential
// picture's rows, so that both finish together: it first reads past the rows before it, which
// costs their entropy decoding alone (measured here: a compressed byte costs about as much as
// the rest of the work on three and a half pixels of 4:4:4, the inverse transforms, the
// colours, the cover and the write). 0 where it would not pay.
int SplitRow(jpeg_decompress_struct& info, std::uint64_t fileBytes) {
  const std::uint64_t pixels = std::uint64_t{info.output_width} * info.output_height;
  if (jpeg_has_multiple_scans(&info) || pixels < (2u << 20) || std::thread::hardware_concurrency() < 2) return 0;
  double blocks = 0;  // a pixel's share of the blocks that must be transformed
  for (int c = 0; c < info.num_components; ++c) {
    blocks += static_cast<double>(info.comp_info[c].h_samp_factor * info.comp_info[c].v_samp_factor) /
              (info.max_h_samp_factor * info.max_v_samp_factor);
  }
  const double skipped = 14.0 * static_cast<double>(fileBytes);
  const double share = skipped / (skipped + (2.0 + 0.65 * blocks) * static_cast<double>(pixels));
  const int step = std::max(BitmapWriter::kSplitRows, info.max_v_samp_factor * DCTSIZE);
  const int row = static_cast<int>(info.output_height / (2 - share)) / step * step;
  return row > 0 && row < static_cast<int>(info.output_height) ? row : 0;
}

// The same file on a reader of its own (a descriptor of its own position), buffered as the
// first; null where there is none.
std::FILE* SecondReader(std::FILE* jpeg) {
  const int fd = ::open(("/proc/self/fd/" + std::to_string(::fileno(jpeg))).c_str(), O_RDONLY | O_CLOEXEC);
  std::FILE* stream = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
  if (!stream && fd >= 0) ::close(fd);
  if (stream) std::setvbuf(stream, nullptr, _IOFBF, 256 << 10);
  return stream;
}

// The rows from `first` on, by a decompressor of their own that reads past the rows before
// them without making their pixels. Closes `stream`.
DecodeResult DecodeFrom(std::FILE* stream, int first, JDIMENSION width, JDIMENSION height, BitmapWriter& writer) {
  jpeg_decompress_struct info;
  JpegErrors errors;
  StartReading(info, errors, stream);
  DecodeResult result = DecodeResult::Failed;
  if (setjmp(errors.failed) == 0) {
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    // The file is read twice: it must still be the picture the first reader found.
    if (info.output_width == width && info.output_height == height && info.output_components == 3 &&
        jpeg_skip_scanlines(&info, static_cast<JDIMENSION>(first)) == static_cast<JDIMENSION>(first)) {
      const bool written = ReadRows(info, info.output_height, writer);
      if (written) jpeg_finish_decompress(&info);
      result = written ? DecodeResult::Written : DecodeResult::Failed;
    }
  }
  jpeg_destroy_decompress(&info);
  std::fclose(stream);
  return result;
}

// What a second decompressor needs, kept where an error's jump back cannot skip it: its
// thread is joined before its writer goes.
struct LowerPart {
  std::optional<BitmapWriter> writer;
  DecodeResult result = DecodeResult::Failed;
  std::optional<std::jthread> thread;
};

// What the decode loop keeps lives in libjpeg's memory or in the caller's `writer` and
// `lower`, so a jump back from an error leaves nothing to clean up but the decompressor.
DecodeResult Decode(jpeg_decompress_struct& info, std::FILE* jpeg, int fd, const std::optional<ScreenSize>& screen,
                    std::optional<OrientedWriter>& writer, LowerPart& lower, int orientation) {
  jpeg_read_header(&info, TRUE);
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) return DecodeResult::NotHandled;
  const long long width = info.image_width, height = info.image_height;
  if (!FitsBudget(width, height, CoefficientBytes(info) + TurningBytes(width, height, orientation))) {
    return DecodeResult::Failed;
  }
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  if (info.output_components != 3) return DecodeResult::Failed;
  writer = OrientedWriter::Begin(fd, info.output_width, info.output_height, screen, orientation);
  if (!writer) return DecodeResult::Failed;
  struct stat file {};
  const int split = ::fstat(::fileno(jpeg), &file) == 0 ? SplitRow(info, static_cast<std::uint64_t>(file.st_size)) : 0;
  std::FILE* second = split > 0 ? SecondReader(jpeg) : nullptr;
  if (second) {
    lower.writer = writer->SplitAt(split);
    if (!lower.writer) {
      std::fclose(second);
      second = nullptr;
    }
  }
  const auto readLower = [&lower, second, split, w = info.output_width, h = info.output_height] {
    lower.result = DecodeFrom(second, split, w, h, *lower.writer);
  };
  try {
    if (second) lower.thread.emplace(readLower);
  } catch (const std::system_error&) {
    // No thread to be had: the second reader reads its rows after the first.
  }
  if (!ReadRows(info, second ? static_cast<JDIMENSION>(split) : info.output_height, *writer)) {
    return DecodeResult::Failed;
  }
  if (!second) {
    jpeg_finish_decompress(&info);
    return DecodeResult::Written;
  }
  if (lower.thread) {
    lower.thread->join();
  } else {
    readLower();
  }
  const bool joined = lower.result == DecodeResult::Written && writer->Join(std::move(*lower.writer));
  jpeg_abort_decompress(&info);  // the rest of the file was the second reader's
  return joined ? DecodeResult::Written : DecodeResult::Failed;
}

}  // namespace

std::optional<BitmapWriter> BitmapWriter::Begin(int fd, long long width, long long height,
                                                const std::optional<ScreenSize>& screen) {
  const auto layout = LayoutFor(width, height);
  if (!layout || !WriteHeader(fd, *layout)) return std::nullopt;
  BitmapWriter writer(fd, *layout);
  writer.shared_ = std::make_unique<Shared>();
  if (screen) writer.shared_->scalers = CoverScaler::ForEachMonitor(layout->width, layout->height, *screen, writer.shared_->cover);
  writer.StartWorker();
  return writer;
}

void BitmapWriter::StartWorker(bool ownThread) {
  const std::size_t batchBytes = layout_.stride * kRowsABatch;
  worker_ = std::make_unique<BatchWorker>(
      batchBytes, [&shared = *shared_, fd = fd_, file = layout_, batchBytes](std::uint8_t* batch, int first, int rows) {
        // The batch's rows sit last row first at its end, as the file keeps them: one write.
        const std::size_t bytes = file.stride * static_cast<std::size_t>(rows);
        std::uint8_t* used = batch + batchBytes - bytes;
        for (std::size_t at = 0; shared.rgb && at < bytes; at += file.stride) {
          for (std::uint8_t* pixel = used + at; pixel != used + at + 3 * std::size_t(file.width); pixel += 3) {
            std::swap(pixel[0], pixel[2]);
          }
        }
        for (std::size_t at = bytes; shared.scalers && at > 0;) {
          at -= file.stride;
          for (CoverScaler& scaler : *shared.scalers) scaler.AddRow(used + at);
        }
        return WriteAllAt(fd, used, bytes, RowOffset(file, first + rows - 1));
      }, ownThread);
}

BitmapWriter BitmapWriter::SplitAt(int row) {
  BitmapWriter later(fd_, layout_);
  later.next_ = row;
  later.end_ = end_;
  end_ = row;
  later.shared_ = std::make_unique<Shared>();
  later.shared_->rgb = shared_->rgb;
  if (shared_->scalers) {
    later.shared_->scalers.emplace();
    for (CoverScaler& scaler : *shared_->scalers) later.shared_->scalers->push_back(scaler.SplitAt(row));
  }
  // Two decoders keep both cores busy: each writes its own rows, with no worker beside it.
  worker_.reset();
  StartWorker(false);
  later.StartWorker(false);
  return later;
}

bool BitmapWriter::Join(BitmapWriter later) {
  if (!Complete() || !later.Complete() || !worker_->Finish() || !later.worker_->Finish()) return false;
  for (std::size_t i = 0; shared_->scalers && i < shared_->scalers->size(); ++i) {
    (*shared_->scalers)[i].Join((*later.shared_->scalers)[i]);
  }
  next_ = end_ = later.end_;
  return true;
}

bool BitmapWriter::Commit() {
  if (next_ >= end_) return false;
  const int inBatch = next_++ % kRowsABatch + 1;
  if (inBatch < kRowsABatch && next_ < end_) return true;
  // The last row waits for every write, so that a failed one fails the picture.
  return worker_->Hand(next_ - inBatch, inBatch) && (next_ < end_ || worker_->Finish());
}

ScreenCover BitmapWriter::TakeCover() {
  if (!Complete() || !worker_->Finish() || !shared_->scalers) return {};
  shared_->scalers.reset();  // they draw into the cover
  return std::move(shared_->cover);
}

bool FitsBudget(long long width, long long height, std::uint64_t workingBytes) {
  return LayoutFor(width, height) && workingBytes <= kMaxBitmapBytes;
}

std::optional<BitmapLayout> LayoutFor(long long width, long long height) {
  if (width <= 0 || height <= 0 || width > 0x7fffffff || height > 0x7fffffff) return std::nullopt;
  const auto stride = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
  const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
  if (pixelBytes > kMaxBitmapBytes) return std::nullopt;
  return BitmapLayout{static_cast<int>(width), static_cast<int>(height), static_cast<std::size_t>(stride), pixelBytes};
}

std::optional<std::uint64_t> JpegWorkingBytes(std::FILE* jpeg) {
  jpeg_decompress_struct info;
  JpegErrors errors;
  StartReading(info, errors, jpeg);
  if (setjmp(errors.failed)) {
    jpeg_destroy_decompress(&info);
    return std::nullopt;
  }
  jpeg_read_header(&info, TRUE);
  const std::uint64_t bytes = CoefficientBytes(info);
  jpeg_destroy_decompress(&info);
  return bytes;
}

DecodeResult DecodeJpegToBitmap(std::FILE* jpeg, int bitmapFd, const std::optional<ScreenSize>& screen,
                                ScreenCover& cover, int orientation) {
  // Outside the frame an error jumps out of, so that they are still destroyed.
  std::optional<OrientedWriter> writer;
  LowerPart lower;
  jpeg_decompress_struct info;
  JpegErrors errors;
  StartReading(info, errors, jpeg);
  if (setjmp(errors.failed)) {
    jpeg_destroy_decompress(&info);
    return DecodeResult::Failed;
  }
  const DecodeResult result = Decode(info, jpeg, bitmapFd, screen, writer, lower, orientation);
  jpeg_destroy_decompress(&info);
  if (result == DecodeResult::Written) cover = writer->TakeCover();
  return result;
}

bool WriteImageToBitmap(const QImage& image, int bitmapFd, const std::optional<ScreenSize>& screen,
                        ScreenCover& cover) {
  auto writer = BitmapWriter::Begin(bitmapFd, image.width(), image.height(), screen);
  if (!writer) return false;
  const int width = writer->layout().width, height = writer->layout().height;
  // Premultiplied, a pixel's colour is what it shows over black, whatever a transparent
  // pixel's colour was; without alpha, the rows convert straight to the file's own order.
  const bool alpha = image.hasAlphaChannel();
  constexpr int kRowsAConversion = 16;  // so that a large picture is not held twice
  for (int first = 0; first < height; first += kRowsAConversion) {
    const int count = std::min(kRowsAConversion, height - first);
    const QImage part = image.copy(0, first, width, count)
                            .convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_BGR888);
    if (part.isNull()) return false;
    for (int y = 0; y < count; ++y) {
      std::uint8_t* row = writer->Next();
      if (alpha) {
        const auto* pixels = reinterpret_cast<const QRgb*>(part.constScanLine(y));
        for (int x = 0; x < width; ++x, row += 3) {
          row[0] = static_cast<std::uint8_t>(qBlue(pixels[x]));
          row[1] = static_cast<std::uint8_t>(qGreen(pixels[x]));
          row[2] = static_cast<std::uint8_t>(qRed(pixels[x]));
        }
      } else {
        std::memcpy(row, part.constScanLine(y), static_cast<std::size_t>(width) * 3);
      }
      if (!writer->Commit()) return false;
    }
  }
  cover = writer->TakeCover();
  return true;
}

}  // namespace scenewright::linux_platform
