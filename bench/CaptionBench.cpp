// Times the Winamp 2.x title rule per call on captions made to be slow (the longest
// the player's scroll can show, 4096 UTF-16 units) beside realistic ones, and prints
// a Markdown table with the worst crafted caption's cost and its ratio to a realistic
// caption of 388 units, both measured in this run. Portable: built on the host.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/OperationFailed.h"
#include "core/Utf.h"
#include "player/CaptionRules.h"

namespace {

constexpr std::size_t kLongest = 4096;  // UTF-16 units; ASCII here, one byte each

// The piece as often as it fits in `length` UTF-16 units.
std::string Repeated(const std::string& piece, std::size_t length = kLongest) {
    const std::size_t units = tobla::text::Utf16FromUtf8(piece).size();
    std::string text;
    for (std::size_t total = units; total <= length; total += units) text += piece;
    return text;
}

// Winamp 5's step X[k:] *** X and Winamp 2's turn of "X *** " for a still X.
std::string Winamp5Step(const std::string& still, std::size_t k) {
    return still.substr(k) + " *** " + still;
}
std::string Winamp2Turn(const std::string& still, std::size_t turn) {
    const std::string loop = still + " *** ";
    return loop.substr(turn) + loop.substr(0, turn);
}

struct Caption {
    std::string name, text;
};

// Microseconds per call in one round of at least 10 ms.
double MicrosecondsPerCall(const std::string& caption) {
    using Clock = std::chrono::steady_clock;
    static std::size_t sink = 0;  // keeps the calls from being optimised away
    long calls = 0;
    const auto start = Clock::now();
    auto now = start;
    do {
        try {
            sink += tobla::winampApi::TitleFromWinamp2Caption(caption).size();
        } catch (const tobla::OperationFailed&) {
            ++sink;
        }
        if (++calls % 16 == 0) now = Clock::now();
    } while (calls % 16 != 0 || now - start < std::chrono::milliseconds(10));
    return std::chrono::duration<double, std::micro>(now - start).count() / calls;
}

// The fastest round of each caption, the rounds taken in turn, so that a machine
// busy with something else slows every caption alike and the least disturbed
// round is kept.
std::vector<double> FastestMicroseconds(const std::vector<std::string>& captions) {
    std::vector<double> best(captions.size(), 1e30);
    for (int round = 0; round < 15; ++round)
        for (std::size_t i = 0; i < captions.size(); ++i)
            best[i] = std::min(best[i], MicrosecondsPerCall(captions[i]));
    return best;
}

}  // namespace

int main() {
    // A still caption of 192 units, whose Winamp 5 step X[1:] *** X has 388.
    const std::string title =
        "Godspeed You! Black Emperor - Storm (Lift Yr. Skinny Fists Like Antennas to Heaven) "
        "[Live at the Orpheum, Vancouver, 2002] - Lift Yr. Skinny Fists, Like Antennas to "
        "Heaven (Remastered Edition)";
    const std::string realisticStill = "12. " + title.substr(0, 192 - 4 - 9) + " - Winamp";
    const std::string longStill =
        "123. " + Repeated("Artist Name - Song Title (Remix) ", 2000) + "- Winamp";
    const Caption base = {"Winamp 5 step of a realistic still", Winamp5Step(realisticStill, 1)};
    const std::vector<Caption> crafted = {
        {"\"1. *** *** *** - Winamp\" repeated", Repeated("1. *** *** *** - Winamp")},
        {"\"*** \" repeated", Repeated("*** ")},
        {"stars only", std::string(kLongest, '*')},
        {"\"1. A - Winamp *** \" repeated", Repeated("1. A - Winamp *** ")},
        {"\" - Winamp [ *** \" repeated", Repeated(" - Winamp [ *** ")},
        {"\"1. A - Winamp *** \" repeated, ending still",
         Repeated("1. A - Winamp *** ", kLongest - 13) + "1. A - Winamp"},
        {"Winamp 5 step of a long still", Winamp5Step(longStill, 0)},
        {"Winamp 2 turn of a long still", Winamp2Turn(longStill, longStill.size() / 2)},
        {"long caption, one star", Repeated("a - Winamp ", kLongest - 1) + "*"},
        {"\"1. \u00C9 - Winamp *** \" repeated", Repeated("1. \u00C9 - Winamp *** ")},
        {"\"\u266B *** \" repeated", Repeated("\u266B *** ")},
        {"\"1. \U0001F3B5 - Winamp *** \" repeated, ending still",
         Repeated("1. \U0001F3B5 - Winamp *** ", kLongest - 14) + "1. \U0001F3B5 - Winamp"},
    };
    std::vector<Caption> all = {base};
    all.insert(all.end(), crafted.begin(), crafted.end());
    std::vector<std::string> texts;
    for (const Caption& caption : all) texts.push_back(caption.text);
    const std::vector<double> us = FastestMicroseconds(texts);

    std::puts("| caption | UTF-16 units | µs per call |");
    std::puts("|---|---:|---:|");
    std::size_t worst = 1;
    for (std::size_t i = 0; i < all.size(); ++i) {
        std::printf("| %s%s | %zu | %.2f |\n", i == 0 ? "realistic: " : "", all[i].name.c_str(),
                    tobla::text::Utf16FromUtf8(all[i].text).size(), us[i]);
        if (i > 0 && us[i] > us[worst]) worst = i;
    }
    std::printf("\nWorst crafted caption: %s, %.2f µs per call, %.1f times the realistic one.\n",
                all[worst].name.c_str(), us[worst], us[worst] / us[0]);
    return 0;
}
