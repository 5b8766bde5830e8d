#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "e2e/ToblaProcess.h"
#include "win32/ControlIds.h"

// The notification-area icon is the only way back to a hidden window, so the shell
// itself is asked whether it holds Tobla's icon: changing an icon that is not there
// fails.
namespace tobla::e2e {
namespace {

constexpr UINT kIconId = 1;

NOTIFYICONDATAA IconOf(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = kIconId;
    data.uFlags = 0;  // a change of nothing: the icon stays as Tobla made it
    return data;
}

bool ShellHoldsIcon(HWND window) {
    NOTIFYICONDATAA data = IconOf(window);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

TEST(TrayIcon, ThereAfterStartBackAfterTheShellRestartsGoneAfterExit) {
    ProgramFolder folder;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    const HWND window = tobla.Window();
    ASSERT_TRUE(WaitUntil([&] { return ShellHoldsIcon(window); }, 5000));

    // A restarted shell has lost every icon and announces itself to all top-level
    // windows with the registered message.
    NOTIFYICONDATAA data = IconOf(window);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(ShellHoldsIcon(window));  // the shell can tell an icon that is not there
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    SendMessageTimeoutA(window, taskbarCreated, 0, 0, SMTO_NORMAL, 5000, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ShellHoldsIcon(window); }, 5000));

    // Wine's shell drops the icons of a destroyed window itself, so there this last
    // check passes even when Tobla leaves its icon behind; Windows keeps such an
    // icon until the pointer passes over it.
    tobla.SendCommand(IDC_LABEL6, STN_CLICKED);
    ASSERT_TRUE(tobla.WaitForExit());
    EXPECT_FALSE(ShellHoldsIcon(window));
}

}  // namespace
}  // namespace tobla::e2e
