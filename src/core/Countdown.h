#pragma once

#include <string>
#include <string_view>

namespace scenewright {

inline constexpr std::string_view kCountdownDisabledText = "Timed wallpaper changing is disabled.";

// "The wallpaper will change in N seconds.", N rounded to one decimal (halves to even) and
// written in its shortest form with the user's decimal separator.
std::string CountdownText(double secondsLeft, std::string_view decimalSeparator);

}  // namespace scenewright
