#include "core/ChatPacer.h"

#include "core/OperationFailed.h"

namespace tobla {

void ChatPacer::SendIfDue(const std::function<bool()>& stillWanted) {
    if (!waiting_) return;
    if (lastSentAt_ && clock_.MonotonicMilliseconds() - *lastSentAt_ < kPaceMs) return;
    // Taken before the send, which lets events run: a line offered meanwhile waits
    // for the next turn.
    const std::string line = std::move(*waiting_);
    waiting_.reset();
    if (!stillWanted()) return;
    // A send that failed half-way may still have posted the line: it counts as sent.
    Guarded([&] { chat_.Send(line); });
    lastSentAt_ = clock_.MonotonicMilliseconds();
}

}  // namespace tobla
