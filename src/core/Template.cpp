#include "core/Template.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/OperationFailed.h"
#include "core/Text.h"

namespace tobla {
namespace {

// A five-digit playlist number leaves " - W" of the player's name on the title.
std::string TrimPlayerInitial(const std::string& title) {
    const std::string carried = " - W";
    return text::EndsWith(title, carried) ? title.substr(0, title.size() - carried.size()) : title;
}

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

std::string ExpandTemplate(const std::string& templateText, PlayerFacts& player,
                           FactText facts) {
    const auto fact = [facts](const std::string& value) {
        return facts == FactText::InertInMarkup ? MakeMarkupInert(value) : value;
    };
    // Without the title there is nothing to announce: that failure ends the expansion.
    std::string line =
        text::ReplaceEvery(templateText, "%s", fact(TrimPlayerInitial(player.SongTitle())));
    Guarded([&] { line = text::ReplaceEvery(line, "%l", fact(player.SongLength())); });
    Guarded([&] { line = text::ReplaceEvery(line, "%b", fact(player.Bitrate())); });
    Guarded([&] { line = text::ReplaceEvery(line, "%p", std::to_string(player.ListPosition())); });
    Guarded([&] { line = text::ReplaceEvery(line, "%c", fact(player.ListCount())); });
    return line;
}

std::string MakeMarkupInert(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const bool letter = (next >= 'A' && next <= 'Z') || (next >= 'a' && next <= 'z');
        const bool opens = next == '\0' || letter || std::strchr("/!?%", next) != nullptr;
        out += text[i] == '<' && opens ? std::string("&lt;") : std::string(1, text[i]);
    }
    return out;
}

std::string WrapInFontTag(const std::string& fontFace, const std::string& colorText,
                          const std::string& line) {
    return "<font face=\"" + fontFace + "\" color=" + colorText + ">" + line;
}

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

std::string ColorTextFromSetting(const std::string& stored) {
    if (stored.empty()) return {};
    return winampApi::ColorToHex(RoundHalfEven32(NumericPrefix(stored)));
}

namespace winampApi {
std::string ColorToHex(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", bits & 0xFF, (bits >> 8) & 0xFF,
                  (bits >> 16) & 0xFF);
    return text;
}
}  // namespace winampApi

namespace toolkit {
std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement, const std::function<void()>& yield) {
    std::string s = text;
    if (find.empty()) return s;
    for (std::size_t at; (at = s.find(find)) != std::string::npos;) {
        if (yield) yield();
        s = s.substr(0, at) + replacement + s.substr(at + find.size());
    }
    return s;
}

std::string StripSpaces(const std::string& text, const std::function<void()>& yield) {
    return ReplaceAll(text, " ", "", yield);
}
}  // namespace toolkit

}  // namespace tobla
