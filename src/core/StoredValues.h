#pragma once
#include <cstdint>
#include <optional>
#include <string>

// The stored settings the window's controls take at start-up, and the values they
// refuse: a refused or absent value leaves its control as it is.
namespace tobla {

// The "color" setting: a colour value, red in the low byte, from 0 to 0xFFFFFF.
std::optional<std::int32_t> ColorFromSetting(const std::string& stored);

// The "aol" and "aim" settings: a check box's state, 0 (unchecked), 1 (checked) or
// 2 (greyed).
std::optional<std::int32_t> CheckStateFromSetting(const std::string& stored);

}  // namespace tobla
