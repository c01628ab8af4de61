// Byte-string helpers for executable names and registry paths: texts in the
// ANSI code page, where a missing text (null) and the empty text are alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes up to the first zero byte, or all of them when there is none.
std::string BytesToText(const uint8_t* bytes, size_t length);

// A copy with A to Z lowered. A byte of 0x80 or more starts a two-byte
// character, which is left as it is, trail byte included.
std::string ToLowerText(const char* text);

// -1, 0 or 1 as the first text sorts before, with or after the second, byte
// by byte, unsigned, without folding case.
int32_t CompareText(const char* first, const char* second);

// Where the last backslash separator stands, or npos. A 0x5C that is the
// trail byte of a two-byte character is no separator.
size_t FindLastSeparator(const char* text);

// A registry path split at its last backslash separator: the key path below
// the root before it, the value name after it. Without a separator the key
// is the root itself; a trailing backslash names the key's default value.
struct RegistryPath {
    std::string key;
    std::string value;
};
RegistryPath SplitRegistryPath(const char* path);
