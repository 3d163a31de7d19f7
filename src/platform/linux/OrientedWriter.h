#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/linux/BitmapFile.h"
#include "platform/linux/Orientation.h"

namespace scenewright::linux_platform {

// The memory an orientation costs a row-by-row decoder: one copy of the picture's rows when
// it turns them, none otherwise.
std::uint64_t TurningBytes(long long width, long long height, Orientation orientation);

// A BitmapWriter fed the rows as the file stores them, which writes the picture as it should
// be seen. Upright, each row goes straight through; turned, the rows are kept until the last
// and then written in their new order.
class OrientedWriter {
 public:
  // `width` and `height` as stored; nullopt as for BitmapWriter::Begin.
  static std::optional<OrientedWriter> Begin(int fd, long long width, long long height,
                                             const std::optional<ScreenSize>& screen, Orientation orientation);
  std::uint8_t* Next() { return kept_.empty() ? writer_.Next() : &kept_[static_cast<std::size_t>(next_) * rowBytes_]; }
  bool Commit();
  void TakeRgb() { writer_.TakeRgb(); }  // see BitmapWriter::TakeRgb
  bool Complete() const { return writer_.Complete(); }
  ScreenCover TakeCover() { return writer_.TakeCover(); }
  // See BitmapWriter::SplitAt; nullopt for a turned picture, whose rows come all at once.
  std::optional<BitmapWriter> SplitAt(int row) {
    return kept_.empty() ? std::optional<BitmapWriter>(writer_.SplitAt(row)) : std::nullopt;
  }
  bool Join(BitmapWriter later) { return writer_.Join(std::move(later)); }

 private:
  OrientedWriter(BitmapWriter writer, int width, int height, Orientation orientation)
      : writer_(std::move(writer)), width_(width), height_(height), orientation_(orientation),
        rowBytes_(static_cast<std::size_t>(width) * 3) {}
  bool WriteTurned();
  BitmapWriter writer_;
  int width_, height_;  // as stored
  Orientation orientation_;
  std::size_t rowBytes_;
  std::vector<std::uint8_t> kept_;  // the stored rows, three bytes a pixel, while turning
  int next_ = 0;
};

}  // namespace scenewright::linux_platform
