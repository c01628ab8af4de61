#include "services/icon_file.h"

namespace {

constexpr size_t DirectoryHeaderSize = 6;
constexpr size_t DirectoryEntrySize = 16;

uint16_t ReadWord(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

}  // namespace

uint32_t ReadDword(const uint8_t* bytes) {
    return ReadWord(bytes) | static_cast<uint32_t>(ReadWord(bytes + 2)) << 16;
}

std::optional<IconImage> ChooseIconImage(const uint8_t* bytes, size_t size, int preferredWidth) {
    if (!bytes || size < DirectoryHeaderSize) return std::nullopt;
    const uint16_t type = ReadWord(bytes + 2), count = ReadWord(bytes + 4);
    if (ReadWord(bytes) != 0 || (type != 1 && type != 2) || count == 0) return std::nullopt;

    const uint8_t* taken = nullptr;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = DirectoryHeaderSize + DirectoryEntrySize * i;
        if (at + DirectoryEntrySize > size) return std::nullopt;
        taken = bytes + at;
        const uint8_t width = taken[0], colours = taken[2];
        if (colours >= 16 && width == preferredWidth) break;
    }
    const size_t imageSize = ReadDword(taken + 8), imageOffset = ReadDword(taken + 12);
    if (imageSize == 0 || imageOffset > size || imageSize > size - imageOffset) return std::nullopt;
    return IconImage{imageOffset, imageSize};
}
