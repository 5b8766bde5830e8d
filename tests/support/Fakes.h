#pragma once
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "core/Interfaces.h"
#include "core/Text.h"
#include "core/OperationFailed.h"

namespace tobla::test {

// A player whose facts a test sets; a fact whose `fail` flag is set throws.
class FakePlayer : public PlayerFacts {
public:
    std::string title, length = "3:45", bitrate = "128", count = "10";
    std::int32_t played = 5, position = 3;
    bool stream = false;
    bool failTitle = false, failPlayed = false, failLength = false, failPosition = false;
    int titlesBeforeFailing = -1;       // title readings that succeed before failTitle applies
    std::vector<std::string> readings;  // given by the next title readings, before `title`
    std::vector<std::string>* calls = nullptr;  // "title", "played", ... in order

    std::string SongTitle() override {
        Note("title");
        if (titlesBeforeFailing >= 0 && titlesBeforeFailing-- == 0) failTitle = true;
        Fail(failTitle);
        if (readings.empty()) return title;
        const std::string reading = readings.front();
        readings.erase(readings.begin());
        return reading;
    }
    std::int32_t PlayedSeconds() override { return Note("played"), Fail(failPlayed), played; }
    std::string SongLength() override { return Note("length"), Fail(failLength), length; }
    std::string Bitrate() override { return Note("bitrate"), bitrate; }
    std::int32_t ListPosition() override { return Note("position"), Fail(failPosition), position; }
    std::string ListCount() override { return Note("count"), count; }
    bool PlaysStream() override { return Note("stream"), stream; }

private:
    void Note(const char* what) {
        if (calls) calls->push_back(what);
    }
    static void Fail(bool fail) {
        if (fail) throw OperationFailed("fake failure");
    }
};

// A chat that records each line it is sent, as "NAME line", in a list of events.
class RecordingChat : public ChatTarget {
public:
    RecordingChat(std::vector<std::string>& events, std::string name)
        : events_(events), name_(std::move(name)) {}
    bool open = true, failSend = false;
    std::function<void()> duringSend;

    bool IsOpen() override { return open; }
    void Send(const std::string& line) override {
        events_.push_back(name_ + " " + line);
        if (duringSend) duringSend();
        if (failSend) throw OperationFailed("entry box too long");
    }

private:
    std::vector<std::string>& events_;
    std::string name_;
};

// Records what the announcer does, in one ordered list of events.
class Recorder : public PlayLog, public SettingsReader {
public:
    std::vector<std::string> events;
    RecordingChat aol{events, "aol"}, aim{events, "aim"};
    std::string color, settle;

    void AppendPlayLog(const std::string& title) override { events.push_back("log " + title); }
    std::string GetFromIni(const std::string& section, const std::string& key,
                           const std::string& file) override {
        events.push_back("ini " + section + " " + key + " " + file);
        return key == "color" ? color : key == "settle" ? settle : std::string();
    }
};

class FakeControls : public AnnouncerControls {
public:
    bool aol = true, aim = true;
    std::string font = "Arial", templateText = "%s - ( %l / %b )", label4;
    std::vector<std::string> templateWrites;

    bool AolTicked() override { return aol; }
    bool AimTicked() override { return aim; }
    std::string FontFace() override { return font; }
    std::string TemplateText() override { return templateText; }
    void SetTemplateText(const std::string& text) override {
        templateText = text;
        templateWrites.push_back(text);
    }
    void ShowLastTitle(const std::string& title) override { label4 = title; }
};

// The case rules of plain ASCII, for the portable tests; the system's own rules are
// tested under Wine.
class AsciiCase : public CaseRules {
public:
    std::string Lowercase(const std::string& text) override { return text::Lowercase(text); }
};

class FakeYielder : public Yielder {
public:
    std::function<void()> onYield;
    int count = 0;
    void YieldEvents() override {
        ++count;
        if (onYield) onYield();
    }
};

}  // namespace tobla::test
