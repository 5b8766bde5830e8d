#pragma once
#include <string>

namespace tobla {

// A list control of the window (the template box's list, the font list) or a
// plain fake: what the list-file and de-duplication procedures need of it.
class ListControl {
public:
    virtual ~ListControl() = default;
    virtual int Count() = 0;
    virtual std::string Entry(int index) = 0;  // 0-based
    virtual void Append(const std::string& text) = 0;
    virtual void Remove(int index) = 0;
};

}  // namespace tobla
