#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace scenewright {

// Every control of the window; the numbering is the table's own order.
enum class ControlId : std::uint8_t {
  Frame1,
  chkAutostart,
  chkNewOnStart,
  chkRandom,
  chkChangeTime,
  txtTime,
  optHours,
  optMinutes,
  optSeconds,
  cmdSaveConf,
  Picture3,
  Picture2,
  Label1,
  lstWall,
  lblNextChange,
  cmdNext,
  Picture1,
  cmdAdd,
  Command2,
};

enum class ControlKind : std::uint8_t {
  Frame,
  CheckBox,
  TextBox,
  OptionButton,
  Button,
  PictureBox,  // Picture3 (the preview frame) and Picture1 (the staging holder)
  Image,       // Picture2, stretching its picture to its own size
  Label,
  ListBox,     // single selection, unsorted
};

// A rectangle in twips (1/1440 inch), relative to the container's client area.
struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

struct ControlSpec {
  ControlId id;
  std::string_view name;
  ControlKind kind;
  std::optional<ControlId> container;  // nullopt: the window itself
  std::string_view text;
  TwipsRect rect;
  std::optional<int> tabIndex;  // nullopt: not a tab stop (Picture2)
  bool visible;
};

inline constexpr std::string_view kWindowCaption = "Scenewright";
inline constexpr int kClientWidthTwips = 6930;
inline constexpr int kClientHeightTwips = 4350;
inline constexpr int kTimer2PeriodMs = 100;
inline constexpr int kTwipsPerInch = 1440;

inline constexpr std::size_t kControlCount = 19;

#ifdef _WIN32
inline constexpr std::string_view kAutostartCaption = "Start With Windows";
#else
inline constexpr std::string_view kAutostartCaption = "Start At Login";  // no Windows to start with
#endif

// clang-format off
inline constexpr std::array<ControlSpec, kControlCount> kControls{{
  {ControlId::Frame1,        "Frame1",        ControlKind::Frame,        std::nullopt,      "Configure Scenewright",                  {120, 120, 3375, 2055},  1,  true},
  {ControlId::chkAutostart,  "chkAutostart",  ControlKind::CheckBox,     ControlId::Frame1, kAutostartCaption,                        {120, 240, 2055, 255},   2,  true},
  {ControlId::chkNewOnStart, "chkNewOnStart", ControlKind::CheckBox,     ControlId::Frame1, "Change Wallpaper On Start",              {120, 480, 2535, 255},   3,  true},
  {ControlId::chkRandom,     "chkRandom",     ControlKind::CheckBox,     ControlId::Frame1, "Choose Wallpaper Randomly",              {120, 720, 2535, 255},   5,  true},
  {ControlId::chkChangeTime, "chkChangeTime", ControlKind::CheckBox,     ControlId::Frame1, "Change Wallpaper At Specified Interval", {120, 1080, 3135, 255},  4,  true},
  {ControlId::txtTime,       "txtTime",       ControlKind::TextBox,      ControlId::Frame1, "0",                                      {360, 1320, 735, 285},   6,  true},
  {ControlId::optHours,      "optHours",      ControlKind::OptionButton, ControlId::Frame1, "Hours",                                  {1320, 1380, 855, 195},  7,  true},
  {ControlId::optMinutes,    "optMinutes",    ControlKind::OptionButton, ControlId::Frame1, "Minutes",                                {1320, 1560, 855, 195},  8,  true},
  {ControlId::optSeconds,    "optSeconds",    ControlKind::OptionButton, ControlId::Frame1, "Seconds",                                {1320, 1740, 975, 195},  9,  true},
  {ControlId::cmdSaveConf,   "cmdSaveConf",   ControlKind::Button,       ControlId::Frame1, "Save",                                   {120, 1680, 1095, 255},  10, true},
  {ControlId::Picture3,      "Picture3",      ControlKind::PictureBox,   std::nullopt,      "",                                       {3600, 120, 3255, 2415}, 17, true},
  {ControlId::Picture2,      "Picture2",      ControlKind::Image,        ControlId::Picture3, "",                                     {0, 0, 3195, 2400},      std::nullopt, true},
  {ControlId::Label1,        "Label1",        ControlKind::Label,        std::nullopt,      "Double-click on a wallpaper to switch to it.", {120, 2400, 3135, 255}, 16, true},
  {ControlId::lstWall,       "lstWall",       ControlKind::ListBox,      std::nullopt,      "",                                       {0, 2640, 6855, 1230},   0,  true},
  {ControlId::lblNextChange, "lblNextChange", ControlKind::Label,        std::nullopt,      "",                                       {0, 3960, 3615, 255},    13, true},
  {ControlId::cmdNext,       "cmdNext",       ControlKind::Button,       std::nullopt,      "Next Wallpaper",                         {3600, 3960, 1335, 255}, 15, true},
  // The staging holder is not shown: it only keeps the picture between load and save.
  {ControlId::Picture1,      "Picture1",      ControlKind::PictureBox,   std::nullopt,      "",                                       {4680, 3960, 195, 240},  14, false},
  {ControlId::cmdAdd,        "cmdAdd",        ControlKind::Button,       std::nullopt,      "Add Files...",                           {4920, 3960, 975, 255},  11, true},
  {ControlId::Command2,      "Command2",      ControlKind::Button,       std::nullopt,      "Remove",                                 {5880, 3960, 975, 255},  12, true},
}};
// clang-format on

constexpr const ControlSpec& SpecOf(ControlId id) {
  return kControls[static_cast<std::size_t>(id)];
}

// Twips to device pixels at the given dots per inch, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi) {
  return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

}  // namespace scenewright
