#include "win32/Win32Controls.h"

#include "win32/Scoped.h"
#include "win32/WideText.h"

namespace tobla {
namespace {

// The system lists a face once for every character set it covers, those entries one
// after another: a face is appended when it differs from the one before.
struct FaceCollector {
    ListControl& list;
    std::wstring last;
};

int CALLBACK CollectFontFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM collector) {
    auto& faces = *reinterpret_cast<FaceCollector*>(collector);
    if (faces.last != font->lfFaceName) {
        faces.last = font->lfFaceName;
        faces.list.Append(Utf8(faces.last));
    }
    return 1;
}

}  // namespace

int ComboList::Count() {
    const LRESULT count = SendMessageW(combo_, CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string ComboList::Entry(int index) {
    const LRESULT length = SendMessageW(combo_, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(combo_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return Utf8(text.data(), static_cast<std::size_t>(copied == CB_ERR ? 0 : copied));
}

void ComboList::Append(const std::string& text) {
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void ComboList::Remove(int index) { SendMessageW(combo_, CB_DELETESTRING, index, 0); }

void AppendFontFaces(ListControl& list, HWND window) {
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;  // every face, whatever its character sets
    FaceCollector faces{list, {}};
    const WindowDC dc(window);
    EnumFontFamiliesExW(dc.get(), &all, reinterpret_cast<FONTENUMPROCW>(&CollectFontFace),
                        reinterpret_cast<LPARAM>(&faces), 0);
}

std::string WindowTextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    return Utf8(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void SetWindowTextOf(HWND window, const std::string& text) {
    SetWindowTextW(window, Wide(text).c_str());
}

int CheckState(HWND box) { return static_cast<int>(SendMessageW(box, BM_GETCHECK, 0, 0)); }

void Check(HWND box, int state) { SendMessageW(box, BM_SETCHECK, state, 0); }

void SetTopmost(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void Subclass(HWND control, WNDPROC procedure) {
    SetWindowLongPtrW(control, GWLP_USERDATA, GetWindowLongPtrW(control, GWLP_WNDPROC));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

LRESULT CallOwnProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_USERDATA));
    return CallWindowProcW(own, control, message, wParam, lParam);
}

Dpi Dpi::OfScreen() {
    const WindowDC screen;
    return {GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

}  // namespace tobla
