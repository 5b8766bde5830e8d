#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/Interfaces.h"

namespace tobla {

// Sends one chat its lines at the chat's pace: at most one line every kPaceMs, counted
// from the end of the previous send. Chat servers mute or drop a member who posts
// faster. At most one line waits; a newer line replaces it, so a track that has
// already been skipped is never posted late. Nothing waits in a loop: each timer tick
// asks the pacer to send what is due.
class ChatPacer {
public:
    static constexpr std::int64_t kPaceMs = 2000;

    ChatPacer(ChatTarget& chat, Clock& clock) : chat_(chat), clock_(clock) {}

    // The line to send next, in place of any still waiting; none withdraws that one.
    void Offer(std::optional<std::string> line) { waiting_ = std::move(line); }
    // Sends the waiting line when the pace allows and the chat still wants it; a line
    // the chat no longer wants is dropped.
    void SendIfDue(const std::function<bool()>& stillWanted);

private:
    ChatTarget& chat_;
    Clock& clock_;
    std::optional<std::string> waiting_;
    std::optional<std::int64_t> lastSentAt_;
};

}  // namespace tobla
