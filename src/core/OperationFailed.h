#pragma once
#include <stdexcept>
#include <string>

namespace tobla {

// Thrown by an operation that cannot produce its result: a window that does not
// answer, a text length out of range, a caption that cannot be parsed. Callers that
// follow the program's rule (a failing step is skipped) catch it with Guarded().
class OperationFailed : public std::runtime_error {
public:
    explicit OperationFailed(const std::string& what) : std::runtime_error(what) {}
};

// Runs one step; a failure abandons the rest of that step only. Returns whether the
// step ran to its end.
template <class Step>
bool Guarded(Step&& step) noexcept {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace tobla
