// Bytes stored in the executable's RCDATA resources.
#pragma once

#include <cstddef>
#include <cstdint>

struct EmbeddedBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// Empty when the executable holds no such resource.
EmbeddedBytes EmbeddedResource(int id);
