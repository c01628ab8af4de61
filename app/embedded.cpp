#include "app/embedded.h"

#include <windows.h>

EmbeddedBytes EmbeddedResource(int id) {
    // Resources live as long as the module: nothing here needs freeing.
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const uint8_t*>(data), SizeofResource(nullptr, found)};
}
