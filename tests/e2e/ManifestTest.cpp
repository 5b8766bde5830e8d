#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <vector>

#include "e2e/ToblaProcess.h"
#include "win32/ControlIds.h"
#include "win32/FormLayout.h"
#include "win32/Scoped.h"
#include "win32/WideText.h"

// Tobla.exe's manifest as the system's loader reads it, and Tobla at 96 DPI and at 144,
// as on a laptop set to 150 %: declared DPI-aware, it lays its window out by the twips
// table at the system's DPI, and Windows does not stretch it. (Wine reads the DPI from
// the registry when a program starts, and gives it to programs with and without the
// declaration alike: there the layout test holds either way, the manifest test not.)
namespace tobla::e2e {
namespace {

// The activation context that the loader makes of Tobla.exe's manifest.
class ExeManifest {
public:
    explicit ExeManifest(const std::string& exe) {
        ACTCTXA request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = exe.c_str();
        request.lpResourceName = MAKEINTRESOURCEA(1);  // the manifest a process starts with
        context_ = CreateActCtxA(&request);
    }
    ~ExeManifest() {
        if (Read()) ReleaseActCtx(context_);
    }
    bool Read() const { return context_ != INVALID_HANDLE_VALUE; }

    std::wstring Setting(const wchar_t* name) const {
        using Query =
            BOOL(WINAPI*)(DWORD, HANDLE, const wchar_t*, const wchar_t*, wchar_t*, SIZE_T, SIZE_T*);
        const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
        wchar_t value[64] = {};
        SIZE_T size = 0;
        if (!query || !query(0, context_, nullptr, name, value, 64, &size)) return L"(none)";
        return value;
    }
    ACTCTX_REQUESTED_RUN_LEVEL RunLevel() const {
        ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
        QueryActCtxW(0, context_, nullptr, RunlevelInformationInActivationContext, &level,
                     sizeof level, nullptr);
        return level.RunLevel;
    }
    // Whether the manifest names the system among those it supports. (The record of
    // each entry grew in Windows 10, and Wine has the longer one: the ids are looked
    // for, not stepped through.)
    bool Supports(const GUID& system) const {
        std::vector<char> bytes(4096);
        SIZE_T size = 0;
        if (!QueryActCtxW(0, context_, nullptr, CompatibilityInformationInActivationContext,
                          bytes.data(), bytes.size(), &size))
            return false;
        for (SIZE_T at = sizeof(DWORD); at + sizeof system <= size; at += sizeof(DWORD))
            if (std::memcmp(bytes.data() + at, &system, sizeof system) == 0) return true;
        return false;
    }
    // The identity of each assembly the manifest brought in, its own first.
    std::vector<std::wstring> Assemblies() const {
        std::vector<char> whole(4096);
        QueryActCtxW(0, context_, nullptr, ActivationContextDetailedInformation, whole.data(),
                     whole.size(), nullptr);
        const auto* context =
            reinterpret_cast<ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(whole.data());
        std::vector<std::wstring> names;
        for (DWORD i = 1; i <= context->ulAssemblyCount; ++i) {
            std::vector<char> bytes(4096);
            if (QueryActCtxW(0, context_, &i, AssemblyDetailedInformationInActivationContext,
                             bytes.data(), bytes.size(), nullptr))
                names.push_back(reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(
                                    bytes.data())
                                    ->lpAssemblyEncodedAssemblyIdentity);
        }
        return names;
    }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
};

// Vista, 7, 8, 8.1, and 10 with 11.
const GUID kVistaTo11[] = {
    {0xe2011457, 0x1546, 0x43c5, {0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0}},
    {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},
    {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},
    {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},
    {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},
};

TEST(Manifest, AsksForTheUsersRightsDpiAwarenessAndCommonControls6) {
    const ExeManifest manifest(ToblaExe());
    ASSERT_TRUE(manifest.Read()) << GetLastError();
    EXPECT_EQ(manifest.RunLevel(), ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(manifest.Setting(L"dpiAware"), L"true");
    EXPECT_EQ(manifest.Setting(L"dpiAwareness"), L"(none)");  // not per monitor
    for (const GUID& system : kVistaTo11)
        EXPECT_TRUE(manifest.Supports(system)) << std::hex << system.Data1;
    const std::vector<std::wstring> assemblies = manifest.Assemblies();
    ASSERT_EQ(assemblies.size(), 2u);
    EXPECT_NE(assemblies[1].find(L"Microsoft.Windows.Common-Controls"), std::wstring::npos);
    EXPECT_NE(assemblies[1].find(L"version=\"6."), std::wstring::npos) << assemblies[1].c_str();
}

// Sets the DPI that programs started from now on read, and puts the old one back.
class ScreenDpi {
public:
    explicit ScreenDpi(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        DWORD size = sizeof old_;
        hadOld_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&old_), &size) == ERROR_SUCCESS;
        RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof dpi);
    }
    ~ScreenDpi() {
        if (hadOld_)
            RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                           sizeof old_);
        else
            RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool hadOld_ = false;
};

// This test program has no manifest: Windows hands such a program another, DPI-aware
// program's rectangles scaled to 96 DPI, Wine 8 hands them over unscaled. A thread
// that is aware of each monitor's DPI gets them unscaled from both, in the pixels that
// program laid out.
class PhysicalPixels {
public:
    PhysicalPixels() {
        using Set = HANDLE(WINAPI*)(HANDLE);
        set_ = reinterpret_cast<Set>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
        if (set_)
            old_ = set_(reinterpret_cast<HANDLE>(-3));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE
    }
    ~PhysicalPixels() {
        if (set_ && old_) set_(old_);
    }
    bool Available() const { return set_ != nullptr; }

private:
    HANDLE(WINAPI* set_)(HANDLE) = nullptr;
    HANDLE old_ = nullptr;
};

RECT InClient(HWND window, HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&place, -origin.x, -origin.y);
    return place;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(const RECT& r) {
    std::ostringstream text;
    text << "(" << r.left << ", " << r.top << ") - (" << r.right << ", " << r.bottom << ")";
    return text.str();
}

// How far right and down a one-line text drawn at (0, 0) puts ink, drawn here as a
// label draws it: a font draws the same in every process. A trailing blank puts none,
// a letter's overhang its pixels, a faint pixel of smoothing counts.
SIZE InkReach(const std::string& text, HFONT font) {
    constexpr int kWidth = 640, kHeight = 64;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const Scoped<scoped::GdiObject<HBITMAP>> bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const std::unique_ptr<HDC__, decltype(&DeleteDC)> dc(CreateCompatibleDC(nullptr), &DeleteDC);
    SelectObject(dc.get(), bitmap.get());
    SelectObject(dc.get(), font);
    RECT area{0, 0, kWidth, kHeight};
    FillRect(dc.get(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(0, 0, 0));
    DrawTextW(dc.get(), Wide(text).c_str(), -1, &area, DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    SIZE reach{0, 0};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if ((pixels[y * kWidth + x] & 0xFFFFFF) != 0xFFFFFF)
                reach = {std::max<LONG>(reach.cx, x + 1), std::max<LONG>(reach.cy, y + 1)};
    return reach;
}

// Every caption fits its control, every control lies in the client area, and none
// overlaps another but those of Frame1, which lie within it. Each caption is measured
// in the font the layout gives its control, made here at Tobla's DPI: the system
// draws a font the same for every process.
void ExpectTheLayoutHolds(const ToblaProcess& tobla, const Dpi& dpi) {
    HWND window = tobla.Window();
    RECT client;
    GetClientRect(window, &client);
    // Laid out at the system's DPI, not stretched by the system.
    EXPECT_EQ(client.right, dpi.PixelsAcross(kClientWidthTwips));
    EXPECT_EQ(client.bottom, dpi.PixelsDown(kClientHeightTwips));
    const LayoutFonts fonts(dpi);
    std::vector<std::pair<const ControlLayout*, RECT>> shown;
    for (const ControlLayout& control : LayoutTable()) {
        const RECT at = InClient(window, tobla.Control(control.id));
        const std::string text = tobla.UnicodeText(control.id);
        SCOPED_TRACE(std::to_string(control.id) + " \"" + text + "\" at " + Describe(at));
        if (control.id == IDC_LABEL4) {  // the holder of the last title, out of sight
            EXPECT_GE(at.top, client.bottom);
            continue;
        }
        EXPECT_TRUE(Contains(client, at));
        shown.emplace_back(&control, at);
        if (control.kind == ControlKind::ComboBox) continue;  // the text scrolls in its box
        // A label's text begins at its left edge, a check box's after its square, which
        // with the gap after it is about as wide as the box is high; a caption is cut at
        // its end, as Label1's and Label5's were, or at its foot.
        const bool checkBox =
            control.kind == ControlKind::Button && (control.style & BS_TYPEMASK) != BS_GROUPBOX;
        const SIZE ink = InkReach(text, fonts.Of(control.font));
        EXPECT_LE(ink.cx, at.right - at.left - (checkBox ? at.bottom - at.top : 0));
        EXPECT_LE(ink.cy, at.bottom - at.top);
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const auto& [a, aAt] = shown[i];
            const auto& [b, bAt] = shown[j];
            if (a->id == IDC_FRAME1 && b->inFrame) {
                EXPECT_TRUE(Contains(aAt, bAt)) << b->id << " " << Describe(bAt);
                continue;
            }
            RECT common;
            EXPECT_FALSE(IntersectRect(&common, &aAt, &bAt))
                << a->id << " " << Describe(aAt) << " overlaps " << b->id << " " << Describe(bAt);
        }
}

TEST(Manifest, AtADesktopsAndALaptopsDpiEachCaptionFitsAndNoControlOverlapsAnother) {
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(std::to_string(dpi) + " DPI");
        ProgramFolder folder;
        std::unique_ptr<ToblaProcess> tobla;
        {
            ScreenDpi setting(dpi);
            tobla = std::make_unique<ToblaProcess>(folder);
        }
        ASSERT_TRUE(tobla->Started());
        PhysicalPixels physical;
        ASSERT_TRUE(physical.Available());
        ExpectTheLayoutHolds(*tobla, Dpi{dpi, dpi});
        tobla->SendCommand(IDC_LABEL6, STN_CLICKED);
        EXPECT_TRUE(tobla->WaitForExit());
    }
}

}  // namespace
}  // namespace tobla::e2e
