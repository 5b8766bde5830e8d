// Template expansion with facts taken from the input, and the colour setting's
// numeric reading: never crashes; a template without "%" comes back unchanged; any
// colour stored as a plain number gives its "#RRGGBB", red first, spelled out here
// independently. (That a colour text is 7 characters long and that stripped text
// holds no space hold by construction; they are checked only as cheap guards.)
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/Template.h"
#include "core/OperationFailed.h"

namespace {
// The colour red + 256 x green + 65536 x blue as the AOL mark-up spells it.
std::string ExpectedColorText(std::uint32_t color) {
    const char* const digits = "0123456789ABCDEF";
    std::string text = "#";
    for (std::uint32_t shift : {0u, 8u, 16u}) {
        const std::uint32_t part = (color >> shift) & 0xFF;
        text += digits[part / 16];
        text += digits[part % 16];
    }
    return text;
}

void CheckStoredNumber(const std::string& input) {
    std::uint32_t color = 0;
    for (std::size_t i = 0; i < 3 && i < input.size(); ++i)
        color |= static_cast<std::uint32_t>(static_cast<unsigned char>(input[i])) << (8 * i);
    if (tobla::ColorTextFromSetting(std::to_string(color)) != ExpectedColorText(color))
        std::abort();
}

class InputPlayer : public tobla::PlayerFacts {
public:
    explicit InputPlayer(const std::string& facts) : facts_(facts) {}
    std::string SongTitle() override { return Piece(0); }
    std::int32_t PlayedSeconds() override { return 1; }
    std::string SongLength() override { return Piece(1); }
    std::string Bitrate() override { return Piece(2); }
    std::int32_t ListPosition() override {
        if (Piece(3).empty()) throw tobla::OperationFailed("no position");
        return static_cast<std::int32_t>(Piece(3).size());
    }
    std::string ListCount() override { return Piece(4); }
    bool PlaysStream() override { return false; }

private:
    std::string Piece(int n) const {
        std::size_t from = 0;
        for (int i = 0; i < n && from != std::string::npos; ++i) {
            from = facts_.find('\n', from);
            if (from != std::string::npos) ++from;
        }
        if (from == std::string::npos) return {};
        return facts_.substr(from, facts_.find('\n', from) - from);
    }
    std::string facts_;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\x01');
    const std::string templateText = input.substr(0, split);
    InputPlayer player(split == std::string::npos ? std::string() : input.substr(split + 1));
    const std::string line = tobla::ExpandTemplate(templateText, player);
    if (templateText.find('%') == std::string::npos && line != templateText) std::abort();
    try {
        const std::string color = tobla::ColorTextFromSetting(templateText);
        if (!templateText.empty() && color.size() != 7) std::abort();
    } catch (const tobla::OperationFailed&) {}
    if (tobla::toolkit::StripSpaces(templateText).find(' ') != std::string::npos) std::abort();
    CheckStoredNumber(input);
    return 0;
}
