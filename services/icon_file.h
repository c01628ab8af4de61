// Reading an icon file (.ico) held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// Where an icon file keeps the image to use: the first entry preferredWidth
// wide with 16 or more colours, else the last entry. Nothing when the
// directory or the image lies outside the bytes.
struct IconImage {
    size_t offset;
    size_t size;
};
std::optional<IconImage> ChooseIconImage(const uint8_t* bytes, size_t size, int preferredWidth);

// A little-endian 32-bit number, as icon files and bitmap headers keep them.
uint32_t ReadDword(const uint8_t* bytes);
