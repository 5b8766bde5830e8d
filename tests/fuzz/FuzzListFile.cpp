// The saved-template list file's field reading on arbitrary bytes: never crashes,
// and no unquoted field holds a line end (a reader that missed one would break it).
// That the fields hold no more bytes than the file holds by construction, since
// each is cut from its own stretch of the file; it is checked only as a cheap guard.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    std::size_t total = 0;
    for (const std::string& field : tobla::ReadListFields(content)) {
        total += field.size();
        if (field.find('\n') != std::string::npos && content.find('"') == std::string::npos)
            std::abort();
    }
    if (total > content.size()) std::abort();
    return 0;
}
