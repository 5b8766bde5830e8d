#include "core/Template.h"

#include <cstdio>
#include <cstring>

#include "core/Numbers.h"
#include "core/OperationFailed.h"
#include "core/Text.h"
#include "player/CaptionRules.h"

namespace tobla {

std::string ExpandTemplate(const std::string& templateText, PlayerFacts& player, FactText facts) {
    const auto fact = [facts](const std::string& value) {
        return facts == FactText::InertInMarkup ? MakeMarkupInert(value) : value;
    };
    // Without the title there is nothing to announce: that failure ends the expansion.
    std::string line = text::ReplaceEvery(
        templateText, "%s", fact(winampApi::WithoutPlayerInitial(player.SongTitle())));
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
        s.replace(at, find.size(), replacement);
    }
    return s;
}

std::string StripSpaces(const std::string& text, const std::function<void()>& yield) {
    return ReplaceAll(text, " ", "", yield);
}
}  // namespace toolkit

}  // namespace tobla
