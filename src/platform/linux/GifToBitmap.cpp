#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/linux/BitmapFile.h"

namespace scenewright::linux_platform {

namespace {

// giflib asks for a few bytes at a time (a block's length, then the block): they come from a
// buffer, refilled a large read at a time, rather than a system call each.
struct Source {
  int fd;
  off_t offset = 0;
  std::vector<GifByteType> buffer = std::vector<GifByteType>(64 << 10);
  std::size_t from = 0, to = 0;  // what the buffer holds still unread
};

int ReadFrom(GifFileType* gif, GifByteType* into, int size) {
  auto* source = static_cast<Source*>(gif->UserData);
  int given = 0;
  while (given < size) {
    if (source->from == source->to) {
      const ssize_t read = ::pread(source->fd, source->buffer.data(), source->buffer.size(), source->offset);
      if (read <= 0) break;
      source->offset += read;
      source->from = 0, source->to = static_cast<std::size_t>(read);
    }
    const std::size_t part = std::min(source->to - source->from, static_cast<std::size_t>(size - given));
    std::memcpy(into + given, source->buffer.data() + source->from, part);
    source->from += part, given += static_cast<int>(part);
  }
  return given;
}

// The first frame's description, and the transparent index its graphic control gives, if any.
bool FirstFrame(GifFileType* gif, int& transparent) {
  transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &record) == GIF_ERROR) return false;
    if (record == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) == GIF_OK;
    if (record != EXTENSION_RECORD_TYPE) return false;  // the end, before any picture
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
      GraphicsControlBlock control{};
      if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) transparent = control.TransparentColor;
    }
    while (block != nullptr) {
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
  }
}

DecodeResult Decode(GifFileType* gif, int bitmapFd, const std::optional<ScreenSize>& screen, ScreenCover& cover) {
  int transparent = NO_TRANSPARENT_COLOR;
  if (!FirstFrame(gif, transparent)) return DecodeResult::Failed;
  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  if (colours == nullptr || frame.Width <= 0 || frame.Height <= 0) return DecodeResult::Failed;
  // The logical screen, the frame placed on it over black; a file that leaves the screen
  // out is as large as its frame.
  const bool noScreen = gif->SWidth <= 0 || gif->SHeight <= 0;
  const int width = noScreen ? frame.Width : gif->SWidth, height = noScreen ? frame.Height : gif->SHeight;
  const int left = noScreen ? 0 : frame.Left, top = noScreen ? 0 : frame.Top;
  if (!LayoutFor(width, height)) return DecodeResult::Failed;

  // Each index's colour as blue, green, red; black for the transparent one and any the
  // table lacks.
  std::uint8_t palette[256][3] = {};
  for (int i = 0; i < std::min(colours->ColorCount, 256); ++i) {
    if (i == transparent) continue;
    palette[i][0] = colours->Colors[i].Blue;
    palette[i][1] = colours->Colors[i].Green;
    palette[i][2] = colours->Colors[i].Red;
  }
  // The part of the frame on the screen.
  const int fromX = std::max(left, 0), toX = std::max(fromX, std::min(left + frame.Width, width));
  const int shownRows = std::clamp(height - top, 0, frame.Height);
  const auto shownWidth = static_cast<std::size_t>(toX - fromX);
  std::vector<GifByteType> line(static_cast<std::size_t>(frame.Width));
  // Interlaced rows arrive in four passes: the shown part of each is gathered first, a byte a
  // pixel; the rest of the frame is read and dropped.
  std::vector<GifByteType> gathered(frame.Interlace ? shownWidth * static_cast<std::size_t>(shownRows) : 0);
  if (frame.Interlace) {
    constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (int y = kStart[pass]; y < frame.Height; y += kStep[pass]) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return DecodeResult::Failed;
        if (y < shownRows && shownWidth > 0) {
          std::memcpy(&gathered[static_cast<std::size_t>(y) * shownWidth], line.data() + (fromX - left), shownWidth);
        }
      }
    }
  }
  auto writer = BitmapWriter::Begin(bitmapFd, width, height, screen);
  if (!writer) return DecodeResult::Failed;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = writer->Next();
    std::memset(row, 0, static_cast<std::size_t>(width) * 3);
    const int frameRow = y - top;
    if (frameRow >= 0 && frameRow < frame.Height) {
      const GifByteType* shown = line.data() + (fromX - left);
      if (frame.Interlace) {
        shown = gathered.data() + static_cast<std::size_t>(frameRow) * shownWidth;
      } else if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
        return DecodeResult::Failed;
      }
      for (std::size_t x = 0; x < shownWidth; ++x) std::memcpy(row + 3 * (fromX + x), palette[shown[x]], 3);
    }
    if (!writer->Commit()) return DecodeResult::Failed;
  }
  cover = writer->TakeCover();
  return DecodeResult::Written;
}

}  // namespace

// The first frame of a GIF, decoded a row at a time with giflib; the frames after it are
// never read.
DecodeResult DecodeGifToBitmap(int gifFd, int bitmapFd, const std::optional<ScreenSize>& screen, ScreenCover& cover) {
  Source source{gifFd};
  int error = 0;
  GifFileType* gif = DGifOpen(&source, ReadFrom, &error);
  if (gif == nullptr) return DecodeResult::Failed;
  const DecodeResult result = Decode(gif, bitmapFd, screen, cover);
  DGifCloseFile(gif, &error);
  return result;
}

}  // namespace scenewright::linux_platform
