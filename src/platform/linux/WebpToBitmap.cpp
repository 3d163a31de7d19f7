#include <sys/mman.h>
#include <unistd.h>
#include <webp/decode.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/linux/BitmapFile.h"
#include "platform/linux/OrientedWriter.h"

namespace scenewright::linux_platform {

namespace {

// The header is looked for in the first 256 KiB (past an ICC profile of some size); after
// it the file goes to the decoder in small appends, so that the rows each one finishes reach
// the worker sooner and keep it busy beside the decoder (about 5 % of a large photo's apply
// here, against appends of 256 KiB).
constexpr std::size_t kChunkBytes = 256 << 10;
constexpr std::size_t kAppendBytes = 64 << 10;

struct DecoderDeleter {
  void operator()(WebPIDecoder* decoder) const { WebPIDelete(decoder); }
};

// Memory the decoder writes its rows into. Pages are only taken as rows arrive and handed
// back once those rows were copied out, so the whole picture is never held.
class RowArea {
 public:
  explicit RowArea(std::size_t bytes) : bytes_(bytes) {
    void* area = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    data_ = area == MAP_FAILED ? nullptr : static_cast<std::uint8_t*>(area);
  }
  ~RowArea() {
    if (data_ != nullptr) ::munmap(data_, bytes_);
  }
  RowArea(const RowArea&) = delete;
  RowArea& operator=(const RowArea&) = delete;
  std::uint8_t* data() const { return data_; }
  std::size_t size() const { return bytes_; }
  // Hands back the whole pages before `end`.
  void Release(std::size_t end) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    end -= end % page;
    if (end > released_) ::madvise(data_ + released_, end - released_, MADV_DONTNEED);
    released_ = std::max(released_, end);
  }

 private:
  std::uint8_t* data_;
  std::size_t bytes_;
  std::size_t released_ = 0;
};

// The header's features, from the start of the file.
bool ReadFeatures(int webpFd, std::vector<std::uint8_t>& chunk, ssize_t& read, WebPBitstreamFeatures& features) {
  read = ::pread(webpFd, chunk.data(), chunk.size(), 0);
  return read > 0 && WebPGetFeatures(chunk.data(), static_cast<std::size_t>(read), &features) == VP8_STATUS_OK;
}

// A lossless picture's pixels are all decoded before the rows go out, four bytes each, as
// are an animation's frames on their canvas; a lossy one keeps its alpha plane whole.
std::uint64_t WorkingBytes(const WebPBitstreamFeatures& features) {
  const auto pixels = static_cast<std::uint64_t>(features.width) * static_cast<std::uint64_t>(features.height);
  if (features.has_animation || features.format == 2) return pixels * 4;
  return features.has_alpha ? pixels : 0;
}

}  // namespace

std::optional<std::uint64_t> WebpWorkingBytes(int webpFd) {
  std::vector<std::uint8_t> chunk(kChunkBytes);
  ssize_t read = 0;
  WebPBitstreamFeatures features{};
  if (!ReadFeatures(webpFd, chunk, read, features)) return std::nullopt;
  return WorkingBytes(features);
}

// A still WebP, decoded incrementally as the file is read: lossy pictures keep only a few
// rows of blocks, and each finished row goes on to the bitmap. Transparent pixels come out
// premultiplied, which is their colour over black. An animation goes to the general reader.
DecodeResult DecodeWebpToBitmap(int webpFd, int bitmapFd, const std::optional<ScreenSize>& screen,
                                ScreenCover& cover, int orientation) {
  std::vector<std::uint8_t> chunk(kChunkBytes);
  ssize_t read = 0;
  WebPBitstreamFeatures features{};
  if (!ReadFeatures(webpFd, chunk, read, features)) return DecodeResult::Failed;
  if (features.has_animation) return DecodeResult::NotHandled;
  const int width = features.width, height = features.height;
  if (!FitsBudget(width, height, WorkingBytes(features) + TurningBytes(width, height, orientation))) {
    return DecodeResult::Failed;
  }
  const int bytesAPixel = features.has_alpha ? 4 : 3;
  const std::size_t stride = static_cast<std::size_t>(width) * bytesAPixel;
  RowArea area(stride * static_cast<std::size_t>(height));
  if (area.data() == nullptr) return DecodeResult::Failed;
  WebPDecoderConfig config;
  if (!WebPInitDecoderConfig(&config)) return DecodeResult::Failed;
  // libwebp's own second thread filters and converts rows while the first decodes the next.
  config.options.use_threads = 1;
  WebPDecBuffer& output = config.output;
  output.colorspace = features.has_alpha ? MODE_bgrA : MODE_BGR;
  output.is_external_memory = 1;
  output.u.RGBA.rgba = area.data();
  output.u.RGBA.stride = static_cast<int>(stride);
  output.u.RGBA.size = area.size();
  const std::unique_ptr<WebPIDecoder, DecoderDeleter> decoder(WebPIDecode(nullptr, 0, &config));
  if (!decoder) return DecodeResult::Failed;
  auto writer = OrientedWriter::Begin(bitmapFd, width, height, screen, orientation);
  if (!writer) return DecodeResult::Failed;

  off_t offset = 0;
  int done = 0;
  VP8StatusCode status = VP8_STATUS_SUSPENDED;
  while (status == VP8_STATUS_SUSPENDED && read > 0) {
    offset += read;
    status = WebPIAppend(decoder.get(), chunk.data(), static_cast<std::size_t>(read));
    int finished = 0;
    if ((status == VP8_STATUS_OK || status == VP8_STATUS_SUSPENDED) &&
        WebPIDecGetRGB(decoder.get(), &finished, nullptr, nullptr, nullptr) != nullptr) {
      for (; done < std::min(finished, height); ++done) {
        const std::uint8_t* from = area.data() + static_cast<std::size_t>(done) * stride;
        std::uint8_t* row = writer->Next();
        if (bytesAPixel == 3) {
          std::memcpy(row, from, stride);
        } else {
          for (int x = 0; x < width; ++x, from += 4, row += 3) std::memcpy(row, from, 3);
        }
        if (!writer->Commit()) return DecodeResult::Failed;
      }
      // The row before the last one copied stays, in case the decoder still touches it.
      if (done > 1) area.Release(static_cast<std::size_t>(done - 1) * stride);
    }
    if (status == VP8_STATUS_SUSPENDED) read = ::pread(webpFd, chunk.data(), kAppendBytes, offset);
  }
  if (status != VP8_STATUS_OK || !writer->Complete()) return DecodeResult::Failed;
  cover = writer->TakeCover();
  return DecodeResult::Written;
}

}  // namespace scenewright::linux_platform
