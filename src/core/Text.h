#pragma once
#include <string>

// Small text helpers shared by the text rules of the announcer.
namespace tobla::text {

inline bool EndsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// Replaces every occurrence left to right without rescanning what was inserted.
inline std::string ReplaceEvery(const std::string& text, const std::string& find,
                                const std::string& value) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(find, from)) != std::string::npos;
         from = at + find.size()) {
        out.append(text, from, at - from);
        out += value;
    }
    out.append(text, from, std::string::npos);
    return out;
}

// ASCII only, for the settings keys; lists compare by the system's case rules.
inline std::string Lowercase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace tobla::text
