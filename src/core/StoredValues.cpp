#include "core/StoredValues.h"

#include "core/Numbers.h"

namespace tobla {
namespace {

// The stored number, read as a numeric prefix and rounded half to even, when it lies
// from lowest to highest; none for an empty value.
std::optional<std::int32_t> StoredNumberIn(const std::string& stored, std::int32_t lowest,
                                           std::int32_t highest) {
    if (stored.empty()) return std::nullopt;
    const double number = NumericPrefix(stored);
    // Settled before rounding: a number this far out may lie beyond 32 bits, where the
    // rounding fails.
    if (!(number > lowest - 1.0 && number < highest + 1.0)) return std::nullopt;
    const std::int32_t value = RoundHalfEven32(number);
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::int32_t> ColorFromSetting(const std::string& stored) {
    return StoredNumberIn(stored, 0, 0xFFFFFF);
}

std::optional<std::int32_t> CheckStateFromSetting(const std::string& stored) {
    return StoredNumberIn(stored, 0, 2);
}

}  // namespace tobla
