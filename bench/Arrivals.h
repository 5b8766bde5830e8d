#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "PeerThread.h"

namespace tobla::bench {

// The lines a simulated chat client received, each stamped with the performance
// counter on the client's thread the moment it arrived.
class Arrivals {
public:
    Arrivals();
    ~Arrivals();
    Arrivals(const Arrivals&) = delete;
    Arrivals& operator=(const Arrivals&) = delete;

    void Add(const std::string& line);  // from the client's thread
    // The arrival time (NowMs) of the first line since the last call that contains
    // `marker`; negative after timeoutMs.
    double WaitFor(const std::string& marker, DWORD timeoutMs);
    std::size_t Count();

private:
    sim::Lock lock_;
    std::vector<std::pair<double, std::string>> lines_;
    std::size_t seen_ = 0;
    HANDLE arrived_ = nullptr;
};

}  // namespace tobla::bench
