#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "e2e/ToblaProcess.h"
#include "win32/ControlIds.h"

// Tobla.exe's icon as the system reads it from the exe: a picture drawn for each size
// Windows shows it at, so that none is a stretched 16 px picture: the small icon and
// the notification area at 96, 120 and 144 DPI (16, 20, 24), the large icon (32, 48)
// and Explorer's big views (256, stored as 0 in the directory).
namespace tobla::e2e {
namespace {

#pragma pack(push, 2)
struct GroupIconEntry {  // GRPICONDIRENTRY: one picture of an RT_GROUP_ICON
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;  // its RT_ICON
};
#pragma pack(pop)

// The exe's resources, read as data: nothing of it runs.
class ExeResources {
public:
    explicit ExeResources(const std::string& exe)
        : module_(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ExeResources() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE Module() const { return module_; }
    std::string Bytes(LPCSTR type, LPCSTR name) const {
        HRSRC found = FindResourceA(module_, name, type);
        if (!found) return {};
        const void* bytes = LockResource(LoadResource(module_, found));
        return std::string(static_cast<const char*>(bytes), SizeofResource(module_, found));
    }

private:
    HMODULE module_;
};

std::vector<GroupIconEntry> EntriesOf(const std::string& group) {
    const std::size_t header = 3 * sizeof(WORD);  // reserved, type, count
    std::vector<GroupIconEntry> entries;
    for (std::size_t at = header; at + sizeof(GroupIconEntry) <= group.size();
         at += sizeof(GroupIconEntry)) {
        entries.emplace_back();
        std::memcpy(&entries.back(), group.data() + at, sizeof(GroupIconEntry));
    }
    return entries;
}

// The width a picture says it has: a PNG's header, or a bitmap's (32-bit, alpha).
int PictureWidth(const std::string& picture) {
    if (picture.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 && picture.size() >= 24)
        return static_cast<BYTE>(picture[18]) << 8 | static_cast<BYTE>(picture[19]);
    BITMAPINFOHEADER bitmap{};
    if (picture.size() < sizeof bitmap) return -1;
    std::memcpy(&bitmap, picture.data(), sizeof bitmap);
    return bitmap.biBitCount == 32 && bitmap.biHeight == 2 * bitmap.biWidth ? bitmap.biWidth : -1;
}

TEST(Icon, HoldsAPictureDrawnForEachSizeAndTheSystemPicksIt) {
    const ExeResources exe(ToblaExe());
    ASSERT_NE(exe.Module(), nullptr) << GetLastError();
    std::string group = exe.Bytes(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_TOBLA));
    ASSERT_FALSE(group.empty());

    std::vector<int> sizes;
    int id24 = 0;
    for (const GroupIconEntry& entry : EntriesOf(group)) {
        const int size = entry.width == 0 ? 256 : entry.width;
        sizes.push_back(size);
        EXPECT_EQ(entry.height, entry.width);
        EXPECT_EQ(PictureWidth(exe.Bytes(RT_ICON, MAKEINTRESOURCEA(entry.id))), size) << size;
        if (size == 24) id24 = entry.id;
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 48, 256}));

    // At 144 DPI the small icon is 24 px: the system takes the 24 px picture for it.
    EXPECT_EQ(LookupIconIdFromDirectoryEx(reinterpret_cast<BYTE*>(group.data()), /*fIcon=*/TRUE, 24,
                                          24, LR_DEFAULTCOLOR),
              id24);
    HICON icon = static_cast<HICON>(
        LoadImageA(exe.Module(), MAKEINTRESOURCEA(IDI_TOBLA), IMAGE_ICON, 24, 24, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 24);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

}  // namespace
}  // namespace tobla::e2e
