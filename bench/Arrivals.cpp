#include "Arrivals.h"

#include "Measure.h"

namespace tobla::bench {

Arrivals::Arrivals() { arrived_ = CreateEventA(nullptr, /*bManualReset=*/FALSE, FALSE, nullptr); }

Arrivals::~Arrivals() { CloseHandle(arrived_); }

void Arrivals::Add(const std::string& line) {
    const double at = NowMs();
    {
        sim::Held held(lock_);
        lines_.emplace_back(at, line);
    }
    SetEvent(arrived_);
}

double Arrivals::WaitFor(const std::string& marker, DWORD timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    for (;;) {
        {
            sim::Held held(lock_);
            for (; seen_ < lines_.size(); ++seen_)
                if (lines_[seen_].second.find(marker) != std::string::npos)
                    return lines_[seen_++].first;
        }
        const double left = deadline - NowMs();
        if (left <= 0) return -1;
        WaitForSingleObject(arrived_, static_cast<DWORD>(left) + 1);
    }
}

std::size_t Arrivals::Count() {
    sim::Held held(lock_);
    return lines_.size();
}

}  // namespace tobla::bench
