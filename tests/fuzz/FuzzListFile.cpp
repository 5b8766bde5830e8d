// The saved-template list file's field reading on arbitrary bytes: never crashes, no
// unquoted field holds a line end (a reader that missed one would break it), and
// every field, written back as its line, reads back as itself. That the fields hold
// no more bytes than the file holds by construction; it is only a cheap guard.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/ListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> fields = tobla::ReadListFields(content);
    std::size_t total = 0;
    std::string written;
    for (const std::string& field : fields) {
        written += tobla::ListFileLine(field) + "\r\n";
        total += field.size();
        if (field.find('\n') != std::string::npos && content.find('"') == std::string::npos)
            std::abort();
    }
    if (total > content.size()) std::abort();
    if (tobla::ReadListFields(written) != fields) std::abort();
    return 0;
}
