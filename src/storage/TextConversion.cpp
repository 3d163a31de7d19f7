#include "storage/TextConversion.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace scenewright {

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  double floor = std::floor(value);
  double fraction = value - floor;
  if (fraction > 0.5) return floor + 1;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::string_view TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

namespace {

template <typename Int>
std::optional<Int> RoundTo(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double rounded = RoundHalfEven(value);
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    return std::nullopt;
  }
  return static_cast<Int>(rounded);
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text, std::string_view decimalSeparator) {
  std::string_view trimmed = TrimBlanks(text);
  std::string normal;
  normal.reserve(trimmed.size());
  const bool otherSeparator = !decimalSeparator.empty() && decimalSeparator != ".";
  for (std::size_t i = 0; i < trimmed.size(); ++i) {
    if (otherSeparator && trimmed.substr(i, decimalSeparator.size()) == decimalSeparator) {
      normal.push_back('.');
      i += decimalSeparator.size() - 1;
    } else {
      normal.push_back(trimmed[i]);
    }
  }
  std::string_view digits = normal;
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  // from_chars would also take "inf" and "nan"; a setting never holds those.
  if (digits.empty() || !(std::isdigit(static_cast<unsigned char>(digits.front())) || digits.front() == '.')) {
    return std::nullopt;
  }
  double value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<std::int32_t> RoundToInt32(double value) { return RoundTo<std::int32_t>(value); }
std::optional<std::int16_t> RoundToInt16(double value) { return RoundTo<std::int16_t>(value); }

std::optional<std::int16_t> TextToInt16(std::string_view text) {
  auto value = ParseDecimal(text);
  return value ? RoundToInt16(*value) : std::nullopt;
}

std::optional<std::int32_t> TextToInt32(std::string_view text) {
  auto value = ParseDecimal(text);
  return value ? RoundToInt32(*value) : std::nullopt;
}

}  // namespace scenewright
