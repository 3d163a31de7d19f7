#include "platform/linux/ScreenCover.h"

#include <algorithm>
#include <cmath>

namespace scenewright::linux_platform {

namespace {

constexpr std::int64_t kUnit = 256;  // a screen pixel's width in share units

}  // namespace

std::vector<CoverScaler::Share> CoverScaler::Shares(int count, double scale, int screen) {
  // Picture edge i lands at i x scale, less the half of the scaled picture cropped away.
  const double cropped = (count * scale - screen) / 2;
  auto edge = [&](int i) {
    return std::clamp<std::int64_t>(std::llround(kUnit * (i * scale - cropped)), 0, kUnit * screen);
  };
  std::vector<Share> shares(static_cast<std::size_t>(count));
  std::int64_t from = edge(0);
  for (int i = 0; i < count; ++i) {
    const std::int64_t to = edge(i + 1);
    const auto first = static_cast<int>(std::min<std::int64_t>(from / kUnit, screen - 1));
    const std::int64_t end = std::min(to, (first + 1) * kUnit);
    shares[static_cast<std::size_t>(i)] = {first, static_cast<std::uint32_t>(end - from),
                                           static_cast<std::uint32_t>(to - end)};
    from = to;
  }
  return shares;
}

std::optional<CoverScaler> CoverScaler::For(int pictureWidth, int pictureHeight, const Monitor& monitor,
                                            ScreenCover& into) {
  const ScreenSize screen{monitor.width, monitor.height};
  if (screen.width <= 0 || screen.height <= 0 || pictureWidth < screen.width || pictureHeight < screen.height) {
    return std::nullopt;
  }
  CoverScaler scaler;
  const double scale =
      std::max(static_cast<double>(screen.width) / pictureWidth, static_cast<double>(screen.height) / pictureHeight);
  const std::vector<Share> columns = Shares(pictureWidth, scale, screen.width);
  scaler.rows_ = Shares(pictureHeight, scale, screen.height);
  scaler.endRow_ = pictureHeight;
  auto shown = [](const Share& share) { return share.weight + share.rest > 0; };
  const auto begin = std::find_if(columns.begin(), columns.end(), shown);
  const auto end = std::find_if(columns.rbegin(), columns.rend(), shown).base();
  scaler.firstByte_ = static_cast<std::size_t>(begin - columns.begin()) * 3;
  scaler.bytes_ = static_cast<std::size_t>(end - begin) * 3;
  scaler.sums_.assign(scaler.bytes_, 0);
  // Columns and the screen pixels they fall in both run left to right. Every pixel gets as
  // many taps as the widest needs, the rest weighing nothing: a loop of one length for every
  // pixel is one the processor predicts.
  std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(screen.width));
  for (auto column = begin; column != end; ++column) {
    const auto byte = static_cast<std::uint32_t>((column - begin) * 3);
    const auto first = static_cast<std::size_t>(column->first);
    if (column->weight > 0) taps[first].push_back({byte, column->weight});
    if (column->rest > 0) taps[first + 1].push_back({byte, column->rest});
  }
  for (const auto& pixel : taps) scaler.tapsAPixel_ = std::max(scaler.tapsAPixel_, pixel.size());
  for (auto& pixel : taps) {
    pixel.resize(scaler.tapsAPixel_, {pixel.empty() ? 0 : pixel[0].byte, 0});
    scaler.taps_.insert(scaler.taps_.end(), pixel.begin(), pixel.end());
  }
  scaler.row_.assign(static_cast<std::size_t>(screen.width), 0);
  scaler.screenPixels_ = into.pixels.data();
  scaler.screenWidth_ = into.width;
  scaler.screenHeight_ = into.height;
  scaler.ShowOn(monitor);
  return scaler;
}

void CoverScaler::ShowOn(const Monitor& monitor) {
  // Clipped to the screen: a monitor may reach past it while the screen is being resized.
  const int fromX = std::clamp(-monitor.x, 0, monitor.width);
  places_.push_back({monitor, fromX, std::clamp(screenWidth_ - monitor.x, fromX, monitor.width)});
}

std::optional<std::vector<CoverScaler>> CoverScaler::ForEachMonitor(int pictureWidth, int pictureHeight,
                                                                    const ScreenSize& screen, ScreenCover& into) {
  if (screen.width <= 0 || screen.height <= 0) return std::nullopt;
  into = {screen.width, screen.height, screen.Shown(),
          std::vector<std::uint32_t>(static_cast<std::size_t>(screen.width) * screen.height)};
  std::vector<CoverScaler> scalers;
  for (const Monitor& monitor : into.monitors) {
    auto same = std::find_if(scalers.begin(), scalers.end(), [&](const CoverScaler& scaler) {
      return scaler.places_[0].monitor.width == monitor.width && scaler.places_[0].monitor.height == monitor.height;
    });
    if (same != scalers.end()) {
      same->ShowOn(monitor);
      continue;
    }
    auto scaler = For(pictureWidth, pictureHeight, monitor, into);
    if (!scaler) return std::nullopt;
    scalers.push_back(std::move(*scaler));
  }
  return scalers;
}

ScreenCover Compose(const ScreenSize& screen, std::vector<ScreenCover> parts) {
  const std::vector<Monitor> monitors = screen.Shown();
  if (parts.size() != monitors.size() || screen.width <= 0 || screen.height <= 0) return {};
  // One monitor showing the whole screen needs no copy.
  if (monitors.size() == 1 && monitors[0] == Monitor{0, 0, screen.width, screen.height} &&
      parts[0].width == screen.width && parts[0].height == screen.height) {
    parts[0].monitors = monitors;
    return std::move(parts[0]);
  }
  ScreenCover cover{screen.width, screen.height, monitors,
                    std::vector<std::uint32_t>(static_cast<std::size_t>(screen.width) * screen.height)};
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const Monitor& m = monitors[i];
    const ScreenCover& part = parts[i];
    if (part.width != m.width || part.height != m.height) return {};
    // Clipped to the screen: a monitor may reach past it while the screen is being resized.
    const int left = std::max(m.x, 0), right = std::min(m.x + m.width, screen.width);
    for (int y = std::max(m.y, 0); y < std::min(m.y + m.height, screen.height) && left < right; ++y) {
      std::copy_n(&part.pixels[static_cast<std::size_t>(y - m.y) * m.width + (left - m.x)], right - left,
                  &cover.pixels[static_cast<std::size_t>(y) * screen.width + left]);
    }
  }
  return cover;
}

void CoverScaler::Accumulate(const std::uint8_t* bgr, std::uint32_t weight) {
  const std::uint8_t* from = bgr + firstByte_;
  std::uint16_t* sums = sums_.data();
  const auto w = static_cast<std::uint16_t>(weight);
  for (std::size_t i = 0; i < bytes_; ++i) sums[i] = static_cast<std::uint16_t>(sums[i] + w * from[i]);
}

CoverScaler CoverScaler::SplitAt(int row) {
  CoverScaler later = *this;
  later.nextRow_ = row;
  later.screenRow_ = rows_[static_cast<std::size_t>(row)].first;
  later.holdFirst_ = true;
  endRow_ = row;
  return later;
}

void CoverScaler::Join(const CoverScaler& later) {
  endRow_ = later.endRow_;
  nextRow_ = later.nextRow_;
  if (!later.heldRow_) {
    FinishRow();
    return;
  }
  // Sums add up exactly, so the shared row comes out as if one scaler had made it.
  if (*later.heldRow_ != screenRow_) FinishRow();
  screenRow_ = *later.heldRow_;
  for (std::size_t i = 0; i < sums_.size(); ++i) sums_[i] = static_cast<std::uint16_t>(sums_[i] + later.held_[i]);
  FinishRow();
  screenRow_ = later.screenRow_;
}

void CoverScaler::AddRow(const std::uint8_t* bgr) {
  if (nextRow_ >= endRow_) return;
  const Share row = rows_[static_cast<std::size_t>(nextRow_++)];
  if (row.weight + row.rest > 0) {
    if (row.first > screenRow_) FinishRow();
    Accumulate(bgr, row.weight);
    if (row.rest > 0) {
      FinishRow();
      Accumulate(bgr, row.rest);
    }
  }
  if (static_cast<std::size_t>(nextRow_) == rows_.size()) FinishRow();
}

void CoverScaler::FinishRow() {
  if (screenRow_ >= places_[0].monitor.height) return;  // every place is one size
  if (holdFirst_) {
    holdFirst_ = false;
    heldRow_ = screenRow_;
    held_ = sums_;
    std::fill(sums_.begin(), sums_.end(), 0);
    ++screenRow_;
    return;
  }
  MakeRow();
  for (const Place& place : places_) {
    const int y = place.monitor.y + screenRow_;
    if (y < 0 || y >= screenHeight_) continue;
    std::copy(row_.begin() + place.fromX, row_.begin() + place.toX,
              screenPixels_ + static_cast<std::size_t>(y) * screenWidth_ + place.monitor.x + place.fromX);
  }
  std::fill(sums_.begin(), sums_.end(), 0);
  ++screenRow_;
}

void CoverScaler::MakeRow() {
  // Every screen pixel gathers exactly 256 x 256 of weight.
  constexpr std::uint32_t kHalf = 1u << 15;
  const std::uint16_t* sums = sums_.data();
  const Tap* tap = taps_.data();
  for (std::size_t x = 0; x < row_.size(); ++x) {
    std::uint32_t b = kHalf, g = kHalf, r = kHalf;
    for (const Tap* end = tap + tapsAPixel_; tap != end; ++tap) {
      b += tap->weight * sums[tap->byte];
      g += tap->weight * sums[tap->byte + 1];
      r += tap->weight * sums[tap->byte + 2];
    }
    row_[x] = (r >> 16) << 16 | (g >> 16) << 8 | b >> 16;
  }
}

}  // namespace scenewright::linux_platform
