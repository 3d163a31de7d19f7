#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace scenewright::linux_platform {

// The part of the screen one monitor shows.
struct Monitor {
  int x, y, width, height;
  bool operator==(const Monitor&) const = default;
};

// A screen and the monitors showing it; without monitors, the screen is one.
struct ScreenSize {
  int width;
  int height;
  std::vector<Monitor> monitors = {};
  bool operator==(const ScreenSize&) const = default;
  std::vector<Monitor> Shown() const {
    return monitors.empty() ? std::vector<Monitor>{{0, 0, width, height}} : monitors;
  }
};

// A picture shrunk to cover each monitor of a screen: scaled to fill it keeping its
// proportions, centred and cropped; black where no monitor shows. 0x00RRGGBB a pixel, rows
// top-down.
struct ScreenCover {
  int width = 0;
  int height = 0;
  std::vector<Monitor> monitors;  // as the cover was made for
  std::vector<std::uint32_t> pixels;
  bool Fits(const ScreenSize& screen) const {
    return width == screen.width && height == screen.height && monitors == screen.Shown() && !pixels.empty();
  }
};

// Places each monitor's own cover (in the order of ScreenSize::Shown) on the whole screen.
ScreenCover Compose(const ScreenSize& screen, std::vector<ScreenCover> parts);

// Builds the cover of a picture larger than each monitor from the picture's rows as they are
// decoded, top-down, so the picture itself never has to be held or read back. Each screen
// pixel is the average of the picture area it covers.
class CoverScaler {
 public:
  // One scaler for each size of monitor, all fed the same rows, each drawing straight into its
  // monitors' parts of `into`, which becomes the whole screen's cover (black where no monitor
  // shows). Monitors of one size show the same cover, so it is made once. nullopt unless every
  // monitor can be covered: a picture smaller than one in either direction would have to be
  // enlarged, which averaging cannot do.
  static std::optional<std::vector<CoverScaler>> ForEachMonitor(int pictureWidth, int pictureHeight,
                                                                const ScreenSize& screen, ScreenCover& into);

  // The next row, three bytes a pixel in blue, green, red order.
  void AddRow(const std::uint8_t* bgr);

  // Leaves this scaler the picture's rows before `row` and returns one for the rest, which
  // another thread may feed at the same time; the screen row the two share is drawn by Join,
  // once both are done. Before any row was added.
  CoverScaler SplitAt(int row);
  void Join(const CoverScaler& later);

 private:
  CoverScaler() = default;
  static std::optional<CoverScaler> For(int pictureWidth, int pictureHeight, const Monitor& monitor,
                                        ScreenCover& into);
  void ShowOn(const Monitor& monitor);
  void FinishRow();
  void MakeRow();  // from the sums, into row_
  void Accumulate(const std::uint8_t* bgr, std::uint32_t weight);

  // A picture pixel's share of at most two neighbouring screen pixels, in 1/256ths of one.
  struct Share {
    int first;             // the screen pixel it starts in
    std::uint32_t weight;  // its share there; the rest of its width lies in the next one
    std::uint32_t rest;
  };
  static std::vector<Share> Shares(int count, double scale, int screen);
  // The picture columns summed into each screen column: tapsAPixel_ of them from
  // taps_[x * tapsAPixel_].
  struct Tap {
    std::uint32_t byte;  // the column's first byte in a row
    std::uint32_t weight;
  };
  std::vector<Tap> taps_;
  std::size_t tapsAPixel_ = 0;
  std::size_t firstByte_ = 0;  // the part of a row the screen shows
  std::size_t bytes_ = 0;
  std::vector<Share> rows_;
  int nextRow_ = 0;
  int endRow_ = 0;  // this scaler's rows end here
  int screenRow_ = 0;
  // A later part's first screen row, shared with the part before it: kept until Join.
  bool holdFirst_ = false;
  std::optional<int> heldRow_;
  std::vector<std::uint16_t> held_;
  // The screen row being built: picture bytes summed down, weighted; at most 256 x 255.
  std::vector<std::uint16_t> sums_;
  std::vector<std::uint32_t> row_;  // the finished screen row, as wide as the monitor
  // Where the rows go: each monitor's place in the screen's pixels, clipped to the screen.
  struct Place {
    Monitor monitor;
    int fromX, toX;
  };
  std::vector<Place> places_;
  std::uint32_t* screenPixels_ = nullptr;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
};

}  // namespace scenewright::linux_platform
