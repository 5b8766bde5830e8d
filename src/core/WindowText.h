#pragma once
#include <string>

#include "core/Interfaces.h"

namespace tobla {

// Longest text length either getter accepts; a window reporting more (or a
// negative length) makes the read fail instead of allocating without bound.
constexpr std::int32_t kMaxTextLength = 1 << 20;

// Reads a window's text holding the length in 16 bits: 32,767 characters or more
// fail. Handle 0 gives the empty text. The whole buffer is returned, NULs included.
std::string GetText(ForeignWindows& windows, WindowHandle window);

namespace winampApi {
// Reads a window's caption holding the length in 32 bits (up to kMaxTextLength).
std::string GetWindowCaption(ForeignWindows& windows, WindowHandle window);
}  // namespace winampApi

}  // namespace tobla
