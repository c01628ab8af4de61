// The resources built into the program: its icons, picture, tray icon,
// version block and manifest.
#include <gtest/gtest.h>

#include <string>

#include "app/embedded.h"
#include "resources/resource_names.h"
#include "tests/support.h"

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInResource;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

TEST(Resources, IconGroupHoldsFive32BitImagesWithAPngAt256) {
    HRSRC found = FindResourceA(nullptr, "DEFAULT_ICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_TRUE(found);
    const auto* group = static_cast<const GroupIconHeader*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_EQ(group->count, 5);
    const int sizes[] = {256, 128, 48, 32, 16};
    for (int i = 0; i < 5; ++i) {
        const GroupIconEntry& entry = group->entries[i];
        EXPECT_EQ(entry.width == 0 ? 256 : entry.width, sizes[i]);
        EXPECT_EQ(entry.height == 0 ? 256 : entry.height, sizes[i]);
        EXPECT_EQ(entry.bitCount, 32);
        HRSRC image = FindResourceA(nullptr, MAKEINTRESOURCEA(entry.id), MAKEINTRESOURCEA(3));
        ASSERT_TRUE(image);
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, image)));
        const bool png = std::string(reinterpret_cast<const char*>(bytes), 4) == "\x89PNG";
        EXPECT_EQ(png, sizes[i] == 256) << sizes[i];
        if (!png) {
            EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(bytes)->biBitCount, 32);
        }
    }
}

TEST(Resources, PictureIsABaselineJpegOfThreeComponents) {
    const EmbeddedBytes picture = EmbeddedResource(PICTURE_RESOURCE);
    ASSERT_EQ(picture.size, 77468u);
    ASSERT_EQ(picture.data[0], 0xFF);
    ASSERT_EQ(picture.data[1], 0xD8);
    // Walk the segments to the frame header.
    size_t at = 2;
    while (at + 4 <= picture.size && picture.data[at] == 0xFF) {
        const uint8_t marker = picture.data[at + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            EXPECT_EQ(marker, 0xC0) << "not baseline";
            const uint8_t* frame = picture.data + at + 4;
            EXPECT_EQ(frame[1] << 8 | frame[2], 546);
            EXPECT_EQ(frame[3] << 8 | frame[4], 920);
            EXPECT_EQ(frame[5], 3);
            return;
        }
        at += 2 + (picture.data[at + 2] << 8 | picture.data[at + 3]);
    }
    FAIL() << "no frame header";
}

TEST(Resources, TrayIconIsOne72PixelImageLaidOutAsAnIconFile) {
    const EmbeddedBytes tray = EmbeddedResource(TRAY_ICON_RESOURCE);
    ASSERT_EQ(tray.size, 21662u);
    auto word = [&](size_t at) { return tray.data[at] | tray.data[at + 1] << 8; };
    auto dword = [&](size_t at) { return static_cast<uint32_t>(word(at) | word(at + 2) << 16); };
    EXPECT_EQ(word(0), 0);
    EXPECT_EQ(word(2), 1);
    EXPECT_EQ(word(4), 1);
    EXPECT_EQ(tray.data[6], 72);
    EXPECT_EQ(tray.data[7], 72);
    EXPECT_EQ(tray.data[8], 0);
    EXPECT_EQ(word(10), 1);
    EXPECT_EQ(word(12), 32);
    EXPECT_EQ(dword(14), 21640u);
    EXPECT_EQ(dword(18), 22u);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(tray.data + 22);
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biWidth, 72);
    EXPECT_EQ(header->biHeight, 144);
    EXPECT_EQ(header->biPlanes, 1);
    EXPECT_EQ(header->biBitCount, 32);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
}

std::string VersionString(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\080404B0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "<missing>";
    return value;
}

TEST(Resources, VersionBlockNamesTheProductInChinese) {
    const std::string program = BuildFolder() + "\\kelvane.exe";
    std::vector<char> block(GetFileVersionInfoSizeA(program.c_str(), nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 0x04B0);

    EXPECT_EQ(VersionString(block, "ProductName"), "Kelvane");
    EXPECT_EQ(VersionString(block, "FileDescription"), "Kelvane后台服务");
    EXPECT_EQ(VersionString(block, "FileVersion"), "1.0.0.0");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "1.0.0.0");
}

TEST(Resources, ManifestAsksForCommonControlsSixAndNoExecutionLevel) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_TRUE(found);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                               SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
}

}  // namespace
