// Title derivation of both player generations on arbitrary captions: never crashes
// (nor trips the sanitizers), and a Winamp 2 caption of up to 300 units reads as the
// model of the player's scroll says, built here the plain way: every still caption
// of every shape tried one by one. What a title should be for real captions is the
// unit tests' matter.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/OperationFailed.h"
#include "core/Utf.h"
#include "player/CaptionRules.h"

namespace {

using Units = std::u16string;
const Units kName = u" - Winamp", kSeparator = u" *** ";

bool EndsAsStill(const Units& still) {
    const std::size_t name = still.rfind(kName);
    if (name == Units::npos) return false;
    const Units state = still.substr(name + kName.size());
    return state.empty() || (state.size() >= 3 && state.compare(0, 2, u" [") == 0 &&
                             state.find(u']') == state.size() - 1);
}

Units TitleOf(const Units& still) {
    const std::size_t name = still.find(kName);
    Units title = still;
    if (name != Units::npos) {
        const std::size_t digits = still.find_first_not_of(u"0123456789");
        const bool numbered =
            digits > 0 && digits != Units::npos && still.compare(digits, 2, u". ") == 0;
        const std::size_t start = numbered ? digits + 2 : 0;
        title = start < name ? still.substr(start, name - start) : Units();
    }
    for (const Units ending : {u" ", u" -", u" "})
        if (title.size() >= ending.size() &&
            title.compare(title.size() - ending.size(), ending.size(), ending) == 0)
            title.pop_back();
    return title;
}

// Every still caption X of which the caption is a step or a cut read.
std::vector<Units> Stills(const Units& c) {
    std::vector<Units> stills;
    const std::size_t m = c.size();
    const auto add = [&](const Units& x, const Units& shown) {
        if (shown == c && EndsAsStill(x)) stills.push_back(x);
    };
    for (std::size_t r = 0; r < m && m >= 5; ++r) {  // a turn of X + " *** "
        const Units turned = c.substr(r) + c.substr(0, r);
        if (turned.compare(m - 5, 5, kSeparator) == 0) add(turned.substr(0, m - 5), c);
    }
    for (std::size_t n = 1; n + 5 <= m; ++n) {
        const Units x = c.substr(m - n);
        if (2 * n + 5 >= m && 2 * n + 5 - m < n) add(x, x.substr(2 * n + 5 - m) + kSeparator + x);
    }
    if (m >= 10) {
        const Units x = c.substr(5, m - 10);
        add(x, kSeparator + x + kSeparator);
        add(c.substr(4, m - 9), kSeparator.substr(1) + c.substr(4, m - 9) + kSeparator);
        add(c.substr(3, m - 8), kSeparator.substr(2) + c.substr(3, m - 8) + kSeparator);
        add(c.substr(5, m - 6), kSeparator + c.substr(5, m - 6) + u" ");
        add(c.substr(0, m - 8), c.substr(0, m - 8) + kSeparator + c.substr(0, 3));
    }
    return stills;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tobla;
    const std::string caption(reinterpret_cast<const char*>(data), size);
    std::optional<std::string> title;
    try {
        title = winampApi::TitleFromWinamp2Caption(caption);
    } catch (const OperationFailed&) {}
    if (winampApi::TitleFromWinamp3Caption(caption).size() > caption.size()) std::abort();

    const std::string filled = caption.substr(0, caption.find_last_not_of('\0') + 1);
    const auto units = text::ExactUtf16FromUtf8(filled);
    if (!units || units->size() > 300) return 0;
    const std::vector<Units> stills = Stills(*units);
    if (stills.empty()) return 0;  // read as it stands
    for (const Units& still : stills)
        if (TitleOf(still) != TitleOf(stills.front())) {
            if (title) std::abort();  // two titles: the reading must fail
            return 0;
        }
    if (title != text::Utf8FromUtf16(TitleOf(stills.front()))) std::abort();
    return 0;
}
