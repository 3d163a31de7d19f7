#include "platform/linux/OrientedWriter.h"

#include <cstddef>
#include <cstring>

namespace scenewright::linux_platform {

std::uint64_t TurningBytes(long long width, long long height, Orientation orientation) {
  if (orientation == kUpright || width <= 0 || height <= 0) return 0;
  return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3;
}

std::optional<OrientedWriter> OrientedWriter::Begin(int fd, long long width, long long height,
                                                    const std::optional<ScreenSize>& screen, Orientation orientation) {
  const bool swap = SwapsSides(orientation);
  auto writer = BitmapWriter::Begin(fd, swap ? height : width, swap ? width : height, screen);
  if (!writer) return std::nullopt;
  OrientedWriter oriented(std::move(*writer), static_cast<int>(width), static_cast<int>(height), orientation);
  if (orientation != kUpright) oriented.kept_.resize(TurningBytes(width, height, orientation));
  return oriented;
}

bool OrientedWriter::Commit() {
  if (kept_.empty()) return writer_.Commit();
  if (next_ >= height_) return false;
  return ++next_ < height_ || WriteTurned();
}

// Each row as seen walks the stored pixels from a corner, a pixel or a row at a time.
bool OrientedWriter::WriteTurned() {
  const std::ptrdiff_t w = width_, h = height_;
  struct Walk {
    std::ptrdiff_t start, alongRow, nextRow;  // in stored pixels
  };
  const Walk walks[] = {
      {0, 1, w},                  // 1: as stored
      {w - 1, -1, w},             // 2: mirrored
      {h * w - 1, -1, -w},        // 3: half a turn
      {(h - 1) * w, 1, -w},       // 4: flipped
      {0, w, 1},                  // 5: across the main diagonal
      {(h - 1) * w, -w, 1},       // 6: a quarter turn clockwise
      {h * w - 1, -w, -1},        // 7: across the other diagonal
      {w - 1, w, -1},             // 8: a quarter turn anticlockwise
  };
  const Walk& walk = walks[orientation_ - 1];
  const std::ptrdiff_t shownWidth = SwapsSides(orientation_) ? h : w, shownHeight = SwapsSides(orientation_) ? w : h;
  for (std::ptrdiff_t y = 0; y < shownHeight; ++y) {
    std::ptrdiff_t at = walk.start + y * walk.nextRow;
    std::uint8_t* row = writer_.Next();
    for (std::ptrdiff_t x = 0; x < shownWidth; ++x, row += 3, at += walk.alongRow) std::memcpy(row, &kept_[3 * at], 3);
    if (!writer_.Commit()) return false;
  }
  kept_ = {};
  return true;
}

}  // namespace scenewright::linux_platform
