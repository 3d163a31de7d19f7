#pragma once

#include <string>

namespace scenewright {

// The user's regional settings.
class Locale {
 public:
  virtual ~Locale() = default;
  // The decimal separator of the user's locale, such as "." or ",".
  virtual std::string DecimalSeparator() = 0;
};

}  // namespace scenewright
