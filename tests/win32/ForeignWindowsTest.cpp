#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "PeerThread.h"
#include "core/MessageNumbers.h"
#include "core/OperationFailed.h"
#include "core/WindowText.h"
#include "win32/Win32ForeignWindows.h"

namespace tobla {
namespace {

// A window whose text is a byte string that may hold NULs, and which reports the
// length a test gives it.
std::string gRawText;
LRESULT gReportedLength = -2;  // -2: the text's own length
HANDLE gRelease = nullptr;     // a "Tobla Test Hung" window blocks until this is set

LRESULT CALLBACK RawTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXTLENGTH)
        return gReportedLength == -2 ? static_cast<LRESULT>(gRawText.size()) : gReportedLength;
    if (message == WM_GETTEXT) {
        const std::size_t n = std::min<std::size_t>(gRawText.size(), wParam ? wParam - 1 : 0);
        std::memcpy(reinterpret_cast<char*>(lParam), gRawText.data(), n);
        return static_cast<LRESULT>(n);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK HungProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXTLENGTH || message == WM_USER) {
        WaitForSingleObject(gRelease, 20000);
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

WindowHandle Handle(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(window));
}

class Win32SeamTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::RegisterClassOnce("Tobla Test Parent", DefWindowProcA);
        sim::RegisterClassOnce("Tobla Test Child", DefWindowProcA);
        sim::RegisterClassOnce("Tobla Test Raw", RawTextProc);
        sim::RegisterClassOnce("Tobla Test Hung", HungProc);
        gRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        peer.Run([&] {
            parent = CreateWindowA("Tobla Test Parent", "parent \xE9t\xE9", WS_OVERLAPPEDWINDOW, 0,
                                   0, 100, 100, nullptr, nullptr, nullptr, nullptr);
            for (auto& child : children)
                child = CreateWindowA("Tobla Test Child", "", WS_CHILD, 0, 0, 10, 10, parent,
                                      nullptr, nullptr, nullptr);
            raw = CreateWindowA("Tobla Test Raw", "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
        });
    }
    void TearDown() override {
        SetEvent(gRelease);
        peer.Run([&] {
            DestroyWindow(parent);
            DestroyWindow(raw);
        });
        CloseHandle(gRelease);
        gReportedLength = -2;
    }

    sim::PeerThread peer;
    Win32ForeignWindows windows;
    HWND parent = nullptr, raw = nullptr;
    HWND children[3] = {};
};

TEST_F(Win32SeamTest, FindsTopLevelAndWalksChildrenInOrder) {
    EXPECT_EQ(windows.FindTopLevel("Tobla Test Parent"), Handle(parent));
    EXPECT_EQ(windows.FindTopLevel("Tobla No Such Class"), 0u);
    WindowHandle child = 0;
    for (HWND expected : children) {
        child = windows.FindChild(Handle(parent), child, "Tobla Test Child");
        EXPECT_EQ(child, Handle(expected));
    }
    EXPECT_EQ(windows.FindChild(Handle(parent), child, "Tobla Test Child"), 0u);
    // A walk that starts again after 0 comes back to the first child.
    EXPECT_EQ(windows.FindChild(Handle(parent), 0, "Tobla Test Child"), Handle(children[0]));
    // A parent of 0 searches the top-level windows.
    EXPECT_EQ(windows.FindChild(0, 0, "Tobla Test Parent"), Handle(parent));
}

// The ANSI window's code-page text is converted both ways.
TEST_F(Win32SeamTest, ReadsAndSetsTextsAcrossThreads) {
    EXPECT_EQ(winampApi::GetWindowCaption(windows, Handle(parent)), "parent \u00e9t\u00e9");
    windows.SetText(Handle(parent), "new \u00ff caption");
    EXPECT_EQ(GetText(windows, Handle(parent)), "new \u00ff caption");
    EXPECT_EQ(GetText(windows, 0), "");
    EXPECT_EQ(windows.Send(0, msg::kUser, 0, 105), 0);
}

TEST_F(Win32SeamTest, TextGettersKeepNulsAndRefuseAbsurdLengths) {
    gRawText = std::string("ab\0c", 4);
    EXPECT_EQ(winampApi::GetWindowCaption(windows, Handle(raw)), gRawText);
    gReportedLength = 6;  // more than the window fills: the rest stays NUL
    EXPECT_EQ(winampApi::GetWindowCaption(windows, Handle(raw)), std::string("ab\0c\0\0", 6));
    gReportedLength = -1;
    EXPECT_THROW(winampApi::GetWindowCaption(windows, Handle(raw)), OperationFailed);
    gReportedLength = 0x7FFFFFFF;
    EXPECT_THROW(winampApi::GetWindowCaption(windows, Handle(raw)), OperationFailed);
    gReportedLength = 32767;
    EXPECT_THROW(GetText(windows, Handle(raw)), OperationFailed);
    gReportedLength = 40000;
    EXPECT_EQ(winampApi::GetWindowCaption(windows, Handle(raw)).size(), 40000u);
}

TEST_F(Win32SeamTest, AWindowThatNeverAnswersFailsInsteadOfHanging) {
    HWND hung = nullptr;
    peer.Run([&] {
        hung = CreateWindowA("Tobla Test Hung", "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                             nullptr, nullptr, nullptr);
    });
    const DWORD start = GetTickCount();
    EXPECT_THROW(windows.Send(Handle(hung), msg::kUser, 0, 105), OperationFailed);
    EXPECT_THROW(winampApi::GetWindowCaption(windows, Handle(hung)), OperationFailed);
    EXPECT_LT(GetTickCount() - start, 8000u);
    SetEvent(gRelease);
    peer.Run([&] { DestroyWindow(hung); });
}

TEST_F(Win32SeamTest, AVanishedWindowIsNotAFailure) {
    HWND gone = nullptr;
    peer.Run([&] {
        gone = CreateWindowA("Tobla Test Child", "x", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                             nullptr, nullptr, nullptr);
        DestroyWindow(gone);
    });
    EXPECT_EQ(windows.Send(Handle(gone), msg::kChar, 0x0D, 0), 0);
    EXPECT_NO_THROW(windows.SetText(Handle(gone), "text"));
}

}  // namespace
}  // namespace tobla
