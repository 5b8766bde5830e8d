// Title derivation of both player generations on arbitrary captions: never crashes
// (nor trips the sanitizers). That a title never grows beyond its caption holds by
// construction, since titles are cut from their captions; it is checked only as a
// cheap guard. What a title should be is the unit tests' matter.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "player/Winamp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string caption(reinterpret_cast<const char*>(data), size);
    if (tobla::winampApi::TitleFromWinamp2Caption(caption).size() > caption.size()) std::abort();
    if (tobla::winampApi::TitleFromWinamp3Caption(caption).size() > caption.size()) std::abort();
    return 0;
}
