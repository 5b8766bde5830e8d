#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "core/Interfaces.h"

namespace tobla {

inline constexpr const char* DefaultTemplate = "%s - ( %l / %b )";

// How the player's facts go into a line: as read, or, for a line the AOL room reads
// as mark-up, unable to open a tag of their own (stream titles are written by radio
// stations, and a link in one would be posted under the user's name).
enum class FactText { AsRead, InertInMarkup };

// Expands the five placeholders in their fixed order (%s, %l, %b, %p, %c), each
// replacement running on the result of the one before. A title that cannot be read
// throws OperationFailed (a line without it is not sent); any other fact that fails
// leaves only its own placeholder in the line.
std::string ExpandTemplate(const std::string& templateText, PlayerFacts& player,
                           FactText facts = FactText::AsRead);

// The text with every "<" that could open a tag written "&lt;": one followed by a
// letter, "/", "!" or "?", and one followed by "%" or by nothing, since what comes
// there is filled in later or is not the fact's own. Any other "<", as in "<3", stays.
std::string MakeMarkupInert(const std::string& text);

// "<font face=\"FACE\" color=COLOUR>" followed by the line; no closing tag.
std::string WrapInFontTag(const std::string& fontFace, const std::string& colorText,
                          const std::string& line);

// The colour text carried by the mark-up, from the stored "color" setting: empty
// for an empty setting, else the numeric prefix rounded half-to-even.
// Throws OperationFailed when the number does not fit in 32 bits.
std::string ColorTextFromSetting(const std::string& stored);

namespace winampApi {
// "#RRGGBB" from the low 24 bits of a colour value (red in the low byte).
std::string ColorToHex(std::int32_t value);
}  // namespace winampApi

namespace toolkit {
// Replaces every occurrence by splicing, searching again from the start after each
// splice; yields before each splice when a yield is given.
std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement, const std::function<void()>& yield = {});
// Removes every space character (32), yielding once per space when a yield is given.
std::string StripSpaces(const std::string& text, const std::function<void()>& yield = {});
}  // namespace toolkit

}  // namespace tobla
