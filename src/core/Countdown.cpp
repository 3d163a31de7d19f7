#include "core/Countdown.h"

#include <cmath>

#include "storage/TextConversion.h"

namespace scenewright {

std::string CountdownText(double secondsLeft, std::string_view decimalSeparator) {
  double tenths = RoundHalfEven(secondsLeft * 10);
  std::string number = tenths < 0 ? "-" : "";
  double magnitude = std::fabs(tenths);
  auto whole = static_cast<long long>(magnitude / 10);
  auto digit = static_cast<int>(magnitude - static_cast<double>(whole) * 10);
  number += std::to_string(whole);
  if (digit != 0) number.append(decimalSeparator).append(1, static_cast<char>('0' + digit));
  if (number == "-0") number = "0";
  return "The wallpaper will change in " + number + " seconds.";
}

}  // namespace scenewright
