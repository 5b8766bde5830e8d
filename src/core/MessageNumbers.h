#pragma once
#include <cstdint>

// Every window message Tobla sends to another program's window, in one place.
namespace tobla::msg {

constexpr std::uint32_t kSetText = 0x000C;        // WM_SETTEXT: 0 / text, sent as UTF-16
constexpr std::uint32_t kGetText = 0x000D;        // WM_GETTEXT: length + 1 / buffer
constexpr std::uint32_t kGetTextLength = 0x000E;  // WM_GETTEXTLENGTH: 0 / 0
constexpr std::uint32_t kChar = 0x0102;           // WM_CHAR: 0x20, then 0x0D / 0
constexpr std::uint32_t kLButtonDown = 0x0201;    // WM_LBUTTONDOWN: 0 / 0
constexpr std::uint32_t kLButtonUp = 0x0202;      // WM_LBUTTONUP: 0 / 0
constexpr std::uint32_t kUser = 0x0400;           // WM_USER: selector / player request

// Player requests, carried in lParam of kUser.
constexpr std::int32_t kRequestPlayPosition = 105;  // wParam 0: ms played; wParam 1: length in s
constexpr std::int32_t kRequestListCount = 124;
constexpr std::int32_t kRequestListPosition = 125;
constexpr std::int32_t kRequestBitrate = 126;  // wParam 1

constexpr char kBlank = 0x20;
constexpr char kCarriageReturn = 0x0D;

}  // namespace tobla::msg
