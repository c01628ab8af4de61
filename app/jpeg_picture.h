// The about box's picture, decoded once into 24-bit pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    // Top-down rows of blue, green, red bytes, each row padded to 4 bytes as
    // a device-independent bitmap wants them.
    std::vector<uint8_t> bgr;

    size_t Stride() const { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }
};

// Nothing when the data are not a whole, undamaged JPEG picture.
std::optional<Picture> DecodeJpeg(const uint8_t* data, size_t size);
