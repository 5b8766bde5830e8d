#pragma once
#include <string>

// Small text helpers shared by the text rules of the announcer.
namespace tobla::text {

inline bool EndsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// ASCII only: keys, font faces and templates are compared as the lists show them.
inline std::string Lowercase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace tobla::text
