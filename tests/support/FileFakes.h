#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/Interfaces.h"
#include "core/Utf.h"

namespace tobla::test {

// Files and folders in memory, with the directory-search rules of the real one:
// folders are not ordinary files, a trailing "\" searches the folder's contents.
class MemoryFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> locked;  // cannot be opened at all
    std::set<std::string> held;    // open in another program: the new content cannot replace it

    bool FileExists(const std::string& path) override {
        if (path.empty()) return false;
        if (path.back() != '\\') return files.count(path) > 0;
        for (const auto& [name, bytes] : files)
            if (name.rfind(path, 0) == 0 && name.find('\\', path.size()) == std::string::npos)
                return true;
        return false;
    }
    std::optional<std::string> ReadFile(const std::string& path) override {
        if (locked.count(path) || !files.count(path)) return std::nullopt;
        return files[path];
    }
    bool WriteFile(const std::string& path, const std::string& bytes) override {
        if (!Writable(path) || held.count(path)) return false;
        files[path] = bytes;
        return true;
    }
    bool AppendLine(const std::string& path, const std::string& line) override {
        if (!Writable(path)) return false;
        std::string& bytes = files[path];
        if (!bytes.empty() && bytes.back() == '\r')
            bytes += "\n";
        else if (!bytes.empty() && bytes.back() != '\n')
            bytes += "\r\n";
        bytes += line;
        return true;
    }
    bool CreateFolder(const std::string& path) override {
        if (files.count(path) || folders.count(path)) return false;
        folders.insert(path);
        return true;
    }

private:
    bool Writable(const std::string& path) {
        const auto slash = path.rfind('\\');
        const bool folderThere =
            slash == std::string::npos || slash == 0 || folders.count(path.substr(0, slash)) > 0;
        return folderThere && !locked.count(path) && !folders.count(path);
    }
};

// A code page of the first 256 characters (ISO 8859-1), standing in for the system's.
class Latin1CodePage : public CodePage {
public:
    std::optional<std::string> FromUtf8(const std::string& utf8) override {
        std::string bytes;
        for (const char16_t unit : text::Utf16FromUtf8(utf8)) {
            if (unit > 0xFF) return std::nullopt;
            bytes += static_cast<char>(unit);
        }
        return bytes;
    }
    std::string ToUtf8(const std::string& bytes) override {
        std::u16string units;
        for (const char byte : bytes)
            units += static_cast<char16_t>(static_cast<unsigned char>(byte));
        return text::Utf8FromUtf16(units);
    }
};

// A clock whose every reading of the time since midnight advances by `step`
// milliseconds and wraps at midnight; the monotonic one stands where a test sets it.
class FakeClock : public Clock {
public:
    std::string date = "12/6/2026", time = "9:41:07 PM";
    std::int32_t now = 0, step = 250;
    std::int64_t monotonic = 0;

    std::string ShortDate() override { return date; }
    std::string LongTime() override { return time; }
    std::int32_t MillisecondsSinceMidnight() override {
        const std::int32_t reading = now;
        now += step;
        if (now >= 86400000) now -= 86400000;
        return reading;
    }
    std::int64_t MonotonicMilliseconds() override { return monotonic; }
};

class VectorList : public ListControl {
public:
    std::vector<std::string> entries;
    VectorList() = default;
    explicit VectorList(std::vector<std::string> e) : entries(std::move(e)) {}

    int Count() override { return static_cast<int>(entries.size()); }
    std::string Entry(int index) override { return entries.at(index); }
    void Append(const std::string& text) override { entries.push_back(text); }
    void Remove(int index) override { entries.erase(entries.begin() + index); }
};

}  // namespace tobla::test
