#pragma once
#include <cstdint>
#include <string>

// The number rules: a stored number read as the settings' format reads it, and the
// roundings the facts and the clock need, the same on every processor.
namespace tobla {

// The leading number of a text the way a numeric-prefix conversion reads it:
// blanks skipped, an optional sign, digits with blanks inside ignored, a fraction,
// an exponent, or an &H / &O prefix; no leading number gives 0.
double NumericPrefix(const std::string& text);

// Rounds to the nearest integer, halves to the even neighbour; throws
// OperationFailed outside the 32-bit range. Its callers hand it a number just read
// from text, never the result of arithmetic, so on the x87 unit too it rounds the
// very double that was read; wider intermediates never reach it.
std::int32_t RoundHalfEven32(double value);

// value / divisor (divisor > 0) rounded to the nearest integer, halves to the even
// neighbour, in integer arithmetic: the same result on every processor.
std::int64_t DivideHalfEven(std::int64_t value, std::int64_t divisor);

}  // namespace tobla
