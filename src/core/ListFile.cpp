#include "core/ListFile.h"

#include <cstddef>
#include <utility>

#include "core/OperationFailed.h"
#include "core/Text.h"
#include "core/TextFile.h"

namespace tobla {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Consumes one comma or one line end (CR LF, LF or a lone CR) at pos.
std::size_t SkipSeparator(const std::string& content, std::size_t pos) {
    if (pos >= content.size()) return pos;
    if (content[pos] == '\r' && pos + 1 < content.size() && content[pos + 1] == '\n')
        return pos + 2;
    return pos + 1;
}

std::size_t NextSeparator(const std::string& content, std::size_t from) {
    const std::size_t found = content.find_first_of(",\r\n", from);
    return found == std::string::npos ? content.size() : found;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b, CaseRules& cases) {
    return cases.Lowercase(a) == cases.Lowercase(b);
}

// A field that begins with a double quote runs to the closing one; a doubled quote
// inside it is one quote of the field. Returns the field, and where reading goes on.
std::pair<std::string, std::size_t> ReadQuotedField(const std::string& content, std::size_t open) {
    std::string field;
    std::size_t pos = open + 1;
    for (std::size_t quote; (quote = content.find('"', pos)) != std::string::npos;
         pos = quote + 2) {
        field.append(content, pos, quote - pos);
        if (quote + 1 >= content.size() || content[quote + 1] != '"')
            return {field, SkipSeparator(content, NextSeparator(content, quote + 1))};
        field += '"';
    }
    // An unterminated field runs to the end.
    field.append(content, pos, std::string::npos);
    return {field, content.size()};
}

}  // namespace

std::vector<std::string> ReadListFields(const std::string& content) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < content.size()) {
        while (pos < content.size() && IsBlank(content[pos])) ++pos;
        if (pos < content.size() && content[pos] == '"') {
            auto [field, next] = ReadQuotedField(content, pos);
            fields.push_back(std::move(field));
            pos = next;
        } else {
            const std::size_t end = NextSeparator(content, pos);
            fields.push_back(content.substr(pos, end - pos));
            pos = SkipSeparator(content, end);
        }
    }
    return fields;
}

std::string ListFileLine(const std::string& entry) {
    const bool readsBackBare = entry.find_first_of(",\r\n") == std::string::npos &&
                               (entry.empty() || (!IsBlank(entry[0]) && entry[0] != '"'));
    if (readsBackBare) return entry;
    return '"' + text::ReplaceEvery(entry, "\"", "\"\"") + '"';
}

namespace toolkit {

void LoadListFromFile(const std::string& path, ListControl& list, FileSystem& files,
                      CodePage& codePage, Yielder& yielder) {
    std::optional<std::string> content;
    if (!Guarded([&] { content = files.ReadFile(path); }) || !content) return;
    std::vector<std::string> fields;
    if (!Guarded([&] { fields = ReadListFields(TextOfFile(*content, codePage)); })) return;
    for (const std::string& field : fields) {
        Guarded([&] { yielder.YieldEvents(); });
        Guarded([&] { list.Append(field); });
    }
}

bool SaveListToFile(const std::string& path, ListControl& list, FileSystem& files,
                    CodePage& codePage) {
    int count = 0;
    Guarded([&] { count = list.Count(); });
    std::string text;
    for (int i = 0; i < count; ++i) Guarded([&] { text += ListFileLine(list.Entry(i)) + "\r\n"; });
    bool written = false;
    Guarded([&] { written = files.WriteFile(path, FileBytesOf(text, codePage)); });
    return written;
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
