#pragma once
#include <string>
#include <vector>

#include "core/Utf.h"

// The captions a Winamp window shows in turn while it scrolls the still caption
// `still` in the taskbar, one loop of them. Portable, so the title rules' tests can
// walk the same steps as the simulated player. The player turns its caption by
// UTF-16 units, so a step may begin or end with half of a character of two units.
namespace tobla::sim {

enum class ScrollForm {
    Winamp2,  // "S *** " turned round one unit at a time
    Winamp5,  // a shrinking tail of S, " *** " and S whole; then S between separators
};

inline std::vector<std::u16string> ScrollingCaptions(const std::u16string& still, ScrollForm form) {
    const std::u16string separator = u" *** ";
    std::vector<std::u16string> steps;
    if (form == ScrollForm::Winamp2) {
        const std::u16string loop = still + separator;
        for (std::size_t i = 0; i < loop.size(); ++i)
            steps.push_back(loop.substr(i) + loop.substr(0, i));
        return steps;
    }
    for (std::size_t i = 0; i < still.size(); ++i)
        steps.push_back(still.substr(i) + separator + still);
    for (std::size_t lead = 0; lead < 3; ++lead)
        steps.push_back(separator.substr(lead) + still + separator);
    return steps;
}

// The same steps in the program's own text form (a half character kept as such).
inline std::vector<std::string> ScrollingCaptions(const std::string& still, ScrollForm form) {
    std::vector<std::string> steps;
    for (const std::u16string& step : ScrollingCaptions(text::Utf16FromUtf8(still), form))
        steps.push_back(text::Utf8FromUtf16(step));
    return steps;
}

}  // namespace tobla::sim
