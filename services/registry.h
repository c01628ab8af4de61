// 32-bit numbers kept in the registry, addressed by a root number and one
// path text: "key\\path\\value name".
#pragma once

#include <windows.h>

#include <cstdint>
#include "services/text.h"

// The predefined key for a root number: 1 classes root, 2 current config,
// 4 local machine, 5 users; 3 and every other number the current user.
HKEY RootKey(int32_t root);

// The REG_DWORD value at the path, or defaultValue when the key or value is
// missing, or the value is of another type or not exactly 4 bytes long.
// Creates nothing.
int32_t ReadRegistryNumber(int32_t root, const char* path, int32_t defaultValue = 0);

// Stores the number as a REG_DWORD at the path, creating the missing keys and
// replacing a value of another type. True when the value was set.
bool WriteRegistryNumber(int32_t root, const char* path, int32_t value);
