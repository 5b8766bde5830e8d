#include "core/Numbers.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/OperationFailed.h"

namespace tobla {
namespace {

bool IsIgnoredBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

double RadixPrefix(const std::string& digits, int radix) {
    std::uint32_t value = 0;
    int count = 0;
    for (char c : digits) {
        const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : (radix == 16 && std::isxdigit(static_cast<unsigned char>(c)))
                          ? std::toupper(static_cast<unsigned char>(c)) - 'A' + 10
                          : -1;
        if (d < 0 || d >= radix || ++count > (radix == 16 ? 8 : 11)) break;
        value = value * radix + static_cast<std::uint32_t>(d);
    }
    return static_cast<double>(static_cast<std::int32_t>(value));
}

}  // namespace

double NumericPrefix(const std::string& text) {
    std::string s;
    for (char c : text)
        if (!IsIgnoredBlank(c)) s += c;
    if (s.size() >= 2 && s[0] == '&') {
        const char radix = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
        if (radix == 'H') return RadixPrefix(s.substr(2), 16);
        if (radix == 'O') return RadixPrefix(s.substr(2), 8);
        return 0;
    }
    std::size_t i = 0;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
    const std::size_t firstDigit = number.size();
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) number += s[i++];
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) number += s[i++];
    }
    if (number.size() == firstDigit || number.substr(firstDigit) == ".") return 0;
    if (i + 1 < s.size() && std::strchr("eEdD", s[i])) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (s[j] == '+' || s[j] == '-') exponent += s[j++];
        const std::size_t expDigits = exponent.size();
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) exponent += s[j++];
        if (exponent.size() > expDigits) number += exponent;
    }
    return std::strtod(number.c_str(), nullptr);
}

std::int32_t RoundHalfEven32(double value) {
    const double rounded = std::nearbyint(value);  // the default mode rounds half to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw OperationFailed("number out of 32-bit range");
    return static_cast<std::int32_t>(rounded);
}

std::int64_t DivideHalfEven(std::int64_t value, std::int64_t divisor) {
    std::int64_t quotient = value / divisor;
    const std::int64_t twiceRest = 2 * (value % divisor);
    const std::int64_t away = value < 0 ? -1 : 1;
    if (twiceRest * away > divisor || (twiceRest * away == divisor && quotient % 2 != 0))
        quotient += away;
    return quotient;
}

}  // namespace tobla
