#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/ToblaProcess.h"
#include "win32/ControlIds.h"

namespace tobla::e2e {
namespace {

HWND FocusIn(const ToblaProcess& tobla) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(tobla.Window(), nullptr), &gui);
    return gui.hwndFocus;
}

// A combo box's focus is its edit field.
bool HasFocus(const ToblaProcess& tobla, int id) {
    HWND focus = FocusIn(tobla);
    return focus == tobla.Control(id) || GetParent(focus) == tobla.Control(id);
}

// A key as the keyboard delivers it to the focus: posted, so that it goes through
// Tobla's message loop and its keyboard navigation.
void Press(HWND focus, WPARAM key, char character) {
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(character), 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

HWND ColorDialogOf(const ToblaProcess& tobla) {
    HWND dialog = FindWindowA("#32770", "Choose a Color");
    return dialog && GetWindow(dialog, GW_OWNER) == tobla.Window() ? dialog : nullptr;
}

bool ColorDialogOpensAndIsCancelled(const ToblaProcess& tobla) {
    if (!WaitUntil([&] { return ColorDialogOf(tobla) != nullptr; })) return false;
    PostMessageA(ColorDialogOf(tobla), WM_COMMAND, IDCANCEL, 0);
    return WaitUntil([&] { return ColorDialogOf(tobla) == nullptr; });
}

// A click on the colour swatch opens the colour dialog and leaves the focus where it
// was; Tab goes from the font list to the swatch, and Space or Enter there opens the
// dialog as the click does.
TEST(Keyboard, TabReachesTheSwatchWhereSpaceOrEnterOpensTheColourDialog) {
    ProgramFolder folder;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    HWND fonts = tobla.Control(IDC_COMBO1), swatch = tobla.Control(IDC_PICTURE1);
    tobla.Click(IDC_CHECK2);  // a click on a box hands the focus to the font list
    ASSERT_TRUE(WaitUntil([&] { return GetParent(FocusIn(tobla)) == fonts; }));
    PostMessageA(swatch, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(swatch, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(ColorDialogOpensAndIsCancelled(tobla)) << "click";
    ASSERT_TRUE(WaitUntil([&] { return GetParent(FocusIn(tobla)) == fonts; }));

    Press(FocusIn(tobla), VK_TAB, '\t');
    for (auto [key, character] : {std::pair{VK_SPACE, ' '}, std::pair{VK_RETURN, '\r'}}) {
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(tobla) == swatch; })) << FocusIn(tobla);
        Press(swatch, key, character);
        ASSERT_TRUE(ColorDialogOpensAndIsCancelled(tobla)) << key;
    }
    Press(swatch, VK_TAB, '\t');
    EXPECT_TRUE(WaitUntil([&] { return FocusIn(tobla) == tobla.Control(IDC_LABEL5); }));
}

// Tab goes round every control that takes the keyboard, in the order they stand, the
// links between the swatch and the template; Enter on a link does what a click does.
TEST(Keyboard, TabGoesRoundInOrderAndEnterOnALinkClicksIt) {
    ProgramFolder folder;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    const auto focused = [&](int id) { return HasFocus(tobla, id); };
    tobla.Click(IDC_CHECK2);  // a click on a box hands the focus to the font list
    ASSERT_TRUE(WaitUntil([&] { return focused(IDC_COMBO1); }));
    for (int id : {IDC_PICTURE1, IDC_LABEL5, IDC_LABEL7, IDC_LABEL6, IDC_TEXT1, IDC_CHECK1,
                   IDC_CHECK2, IDC_COMBO1, IDC_PICTURE1, IDC_LABEL5}) {
        Press(FocusIn(tobla), VK_TAB, '\t');
        ASSERT_TRUE(WaitUntil([&] { return focused(id); })) << id << " " << FocusIn(tobla);
    }
    Press(tobla.Control(IDC_LABEL5), VK_RETURN, '\r');  // no log yet
    EXPECT_TRUE(WaitUntil([&] { return tobla.Text(IDC_LABEL5) == "No Log Found!"; }, 5000));
}

// Space on a box ticks it and leaves the keyboard there, so that Tab goes on from it;
// a click hands the focus to the font list.
TEST(Keyboard, SpaceTicksACheckBoxWhereTheFocusStays) {
    ProgramFolder folder;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    tobla.Click(IDC_CHECK2);
    ASSERT_TRUE(WaitUntil([&] { return HasFocus(tobla, IDC_COMBO1); }));
    for (int id : {IDC_PICTURE1, IDC_LABEL5, IDC_LABEL7, IDC_LABEL6, IDC_TEXT1, IDC_CHECK1}) {
        Press(FocusIn(tobla), VK_TAB, '\t');
        ASSERT_TRUE(WaitUntil([&] { return HasFocus(tobla, id); })) << id;
    }
    Press(tobla.Control(IDC_CHECK1), VK_SPACE, ' ');
    ASSERT_TRUE(tobla.Settle());
    EXPECT_EQ(tobla.CheckState(IDC_CHECK1), BST_CHECKED);
    EXPECT_TRUE(HasFocus(tobla, IDC_CHECK1));
}

}  // namespace
}  // namespace tobla::e2e
