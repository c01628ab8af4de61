// ChooseIconImage and ReadDword on arbitrary bytes taken as an icon file, at
// the widths the tray asks for and at the width of the first entry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "services/icon_file.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

uint32_t LittleEndian(const uint8_t* bytes, size_t count) {
    uint32_t value = 0;
    for (size_t i = count; i-- > 0;) value = value << 8 | bytes[i];
    return value;
}

// The entry ChooseIconImage must take, read field by field: the first one
// that is wide enough with 16 or more colours, else the last; nothing when a
// needed entry or the image is not all there.
std::optional<IconImage> ChosenByHand(const uint8_t* bytes, size_t size, int width) {
    if (size < 6) return std::nullopt;
    const uint32_t reserved = LittleEndian(bytes, 2), type = LittleEndian(bytes + 2, 2);
    const uint32_t count = LittleEndian(bytes + 4, 2);
    if (reserved != 0 || (type != 1 && type != 2) || count == 0) return std::nullopt;
    size_t chosen = count - 1;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        if (entry + 16 > size) return std::nullopt;
        if (bytes[entry] == width && bytes[entry + 2] >= 16) {
            chosen = i;
            break;
        }
    }
    const size_t entry = 6 + 16 * chosen;
    const uint64_t imageSize = LittleEndian(bytes + entry + 8, 4);
    const uint64_t imageOffset = LittleEndian(bytes + entry + 12, 4);
    if (imageSize == 0 || imageOffset + imageSize > size) return std::nullopt;
    return IconImage{static_cast<size_t>(imageOffset), static_cast<size_t>(imageSize)};
}

void Check(const uint8_t* data, size_t size, int width) {
    const std::optional<IconImage> image = ChooseIconImage(data, size, width);
    const std::optional<IconImage> expected = ChosenByHand(data, size, width);
    Require(image.has_value() == expected.has_value());
    if (!image) return;
    Require(image->offset == expected->offset && image->size == expected->size);
    Require(image->size > 0 && image->offset <= size && image->size <= size - image->offset);

    // The tray reads the image's first four bytes and then all of it: touch
    // its first and last byte, which must lie inside the input.
    volatile uint8_t touched = data[image->offset];
    touched = data[image->offset + image->size - 1];
    (void)touched;
    if (image->size >= 4)
        Require(ReadDword(data + image->offset) == LittleEndian(data + image->offset, 4));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (int width : {16, 20, 24, 32, 48, 72, 256, 0, -1}) Check(data, size, width);
    if (size > 6) Check(data, size, data[6]);
    Require(!ChooseIconImage(nullptr, size, 16));

    for (size_t at = 0; at + 4 <= size && at < 64; ++at)
        Require(ReadDword(data + at) == LittleEndian(data + at, 4));
    return 0;
}
