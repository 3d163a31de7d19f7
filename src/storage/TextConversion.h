#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scenewright {

// The text without blanks (spaces and tabs) at either end.
std::string_view TrimBlanks(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4),
// whatever the floating-point environment says.
double RoundHalfEven(double value);

// A decimal number as a user or a hand-edited file may write it: blanks around it, an
// optional sign, a fraction and an exponent. `decimalSeparator` is accepted besides '.'.
std::optional<double> ParseDecimal(std::string_view text, std::string_view decimalSeparator = ".");

// The number rounded (halves to even) into the width; nullopt when it does not fit.
std::optional<std::int32_t> RoundToInt32(double value);
std::optional<std::int16_t> RoundToInt16(double value);

// Text to a whole number of the field's width, a fraction rounding halves to even;
// nullopt for empty text, text that is not a number, or a value outside the width.
std::optional<std::int16_t> TextToInt16(std::string_view text);
std::optional<std::int32_t> TextToInt32(std::string_view text);

}  // namespace scenewright
