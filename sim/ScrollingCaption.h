#pragma once
#include <string>
#include <vector>

// The captions a Winamp 2.x window shows in turn while it scrolls the still caption
// `still` in the taskbar, one loop of them. Portable, so the title rules' tests can
// walk the same steps as the simulated player.
namespace tobla::sim {

enum class ScrollForm {
    Winamp2,  // "S *** " turned round one character at a time
    Winamp5,  // a shrinking tail of S, " *** " and S whole; then S between separators
};

inline std::vector<std::string> ScrollingCaptions(const std::string& still, ScrollForm form) {
    std::vector<std::string> steps;
    if (form == ScrollForm::Winamp2) {
        const std::string loop = still + " *** ";
        for (std::size_t i = 0; i < loop.size(); ++i)
            steps.push_back(loop.substr(i) + loop.substr(0, i));
        return steps;
    }
    for (std::size_t i = 0; i < still.size(); ++i)
        steps.push_back(still.substr(i) + " *** " + still);
    // The last steps as recorded from running players, with and without the last blank.
    for (const char* lead : {" *** ", "*** ", "** "}) {
        steps.push_back(lead + still + " *** ");
        steps.push_back(lead + still + " ***");
    }
    return steps;
}

}  // namespace tobla::sim
