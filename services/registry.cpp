// Reading and writing 32-bit numbers in the registry.
#include "services/registry.h"

#include <cstring>

#include "services/owners.h"
#include "services/text.h"

namespace {

constexpr DWORD NumberSize = sizeof(int32_t);

UniqueKey OpenKey(HKEY root, const Text& key, REGSAM access) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, access, &opened) != ERROR_SUCCESS) return UniqueKey();
    return UniqueKey(opened);
}

UniqueKey OpenOrCreateKey(HKEY root, const Text& key) {
    if (UniqueKey opened = OpenKey(root, key, KEY_WRITE)) return opened;
    HKEY created = nullptr;
    if (RegCreateKeyA(root, key.c_str(), &created) != ERROR_SUCCESS) return UniqueKey();
    return UniqueKey(created);
}

bool HoldsDword(HKEY key, const char* value) {
    DWORD type = 0;
    DWORD size = 0;
    return RegQueryValueExA(key, value, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
           type == REG_DWORD;
}

}  // namespace

HKEY RootKey(int32_t root) {
    switch (root) {
        case 1: return HKEY_CLASSES_ROOT;
        case 2: return HKEY_CURRENT_CONFIG;
        case 4: return HKEY_LOCAL_MACHINE;
        case 5: return HKEY_USERS;
        default: return HKEY_CURRENT_USER;
    }
}

int32_t ReadRegistryNumber(int32_t root, const char* path, int32_t defaultValue) {
    const RegistryPath where = SplitRegistryPath(path);
    const UniqueKey key = OpenKey(RootKey(root), where.key, KEY_READ);
    if (!key || !HoldsDword(key.get(), where.value.c_str())) return defaultValue;
    BYTE data[NumberSize] = {};
    DWORD size = NumberSize;
    // A longer value does not fit; a shorter one would leave part of the
    // number undefined, so it counts as missing too.
    if (RegQueryValueExA(key.get(), where.value.c_str(), nullptr, nullptr, data, &size) != ERROR_SUCCESS ||
        size != NumberSize)
        return defaultValue;
    int32_t number = 0;
    std::memcpy(&number, data, NumberSize);  // little-endian, as Windows keeps it
    return number;
}

bool WriteRegistryNumber(int32_t root, const char* path, int32_t value) {
    const RegistryPath where = SplitRegistryPath(path);
    const UniqueKey key = OpenOrCreateKey(RootKey(root), where.key);
    if (!key) return false;
    BYTE data[NumberSize];
    std::memcpy(data, &value, NumberSize);
    return RegSetValueExA(key.get(), where.value.c_str(), 0, REG_DWORD, data, NumberSize) == ERROR_SUCCESS;
}
