#include "core/Settings.h"

#include <cstddef>

#include "core/OperationFailed.h"

namespace tobla {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Consumes one comma or one line end (CR LF, LF or a lone CR) at pos.
std::size_t SkipSeparator(const std::string& content, std::size_t pos) {
    if (pos >= content.size()) return pos;
    if (content[pos] == '\r' && pos + 1 < content.size() && content[pos + 1] == '\n') return pos + 2;
    return pos + 1;
}

std::size_t NextSeparator(const std::string& content, std::size_t from) {
    const std::size_t found = content.find_first_of(",\r\n", from);
    return found == std::string::npos ? content.size() : found;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b, CaseRules& cases) {
    return cases.Lowercase(a) == cases.Lowercase(b);
}

}  // namespace

std::vector<std::string> ReadListFields(const std::string& content) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < content.size()) {
        while (pos < content.size() && IsBlank(content[pos])) ++pos;
        if (pos < content.size() && content[pos] == '"') {
            // A quoted field keeps its commas; an unterminated one runs to the end.
            std::size_t close = content.find('"', pos + 1);
            if (close == std::string::npos) close = content.size();
            fields.push_back(content.substr(pos + 1, close - pos - 1));
            pos = close < content.size() ? SkipSeparator(content, NextSeparator(content, close + 1))
                                         : close;
        } else {
            const std::size_t end = NextSeparator(content, pos);
            fields.push_back(content.substr(pos, end - pos));
            pos = SkipSeparator(content, end);
        }
    }
    return fields;
}

namespace toolkit {

void LoadListFromFile(const std::string& path, ListControl& list, FileSystem& files,
                      Yielder& yielder) {
    std::optional<std::string> content;
    if (!Guarded([&] { content = files.ReadFile(path); }) || !content) return;
    for (const std::string& field : ReadListFields(*content)) {
        Guarded([&] { yielder.YieldEvents(); });
        Guarded([&] { list.Append(field); });
    }
}

void SaveListToFile(const std::string& path, ListControl& list, FileSystem& files) {
    int count = 0;
    Guarded([&] { count = list.Count(); });
    std::string bytes;
    for (int i = 0; i < count; ++i)
        Guarded([&] { bytes += list.Entry(i) + "\r\n"; });
    Guarded([&] { files.WriteFile(path, bytes); });
}

bool IsInList(ListControl& list, const std::string& text, CaseRules& cases) {
    int count = 0;
    Guarded([&] { count = list.Count(); });
    for (int i = 0; i < count; ++i) {
        bool equal = false;
        Guarded([&] { equal = EqualIgnoringCase(list.Entry(i), text, cases); });
        if (equal) return true;
    }
    return false;
}

}  // namespace toolkit

namespace winampApi {

// The count is read afresh after every yield and every removal, since an event
// handler running in a yield may change the list.
int RemoveDuplicates(ListControl& list, Yielder& yielder, CaseRules& cases) {
    int removed = 0;
    int last = -1;
    Guarded([&] { last = list.Count() - 1; });
    for (int i = 0; i <= last; ++i) {
        Guarded([&] { yielder.YieldEvents(); });
        for (;;) {
            int count = 0;
            if (!Guarded([&] { count = list.Count(); })) break;
            // A handler may have shortened the list below i during the yield.
            if (count <= i) return removed;
            bool duplicate = false;
            Guarded([&] {
                duplicate =
                    i + 1 < count && EqualIgnoringCase(list.Entry(i), list.Entry(i + 1), cases);
            });
            if (!duplicate || !Guarded([&] { list.Remove(i + 1); })) break;
            ++removed;
        }
    }
    return removed;
}

}  // namespace winampApi

}  // namespace tobla
