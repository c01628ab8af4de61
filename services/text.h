// Byte-string helpers for executable names and registry paths: texts in the
// ANSI code page, where a missing text (null) and the empty text are alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

// A text of the program's own: NUL-terminated bytes, owned. The program
// keeps std::string out (its library code would bring exception handling
// into the executable).
class Text {
public:
    Text() = default;
    Text(const char* text);  // a copy; null gives the empty text
    Text(const char* bytes, size_t length);
    Text(const Text& other) : Text(other.c_str(), other.size()) {}
    Text(Text&& other) noexcept : bytes_(std::move(other.bytes_)), size_(other.size_) {
        other.size_ = 0;
    }
    Text& operator=(Text other) noexcept {
        bytes_.swap(other.bytes_);
        std::swap(size_, other.size_);
        return *this;
    }

    const char* c_str() const { return bytes_ ? bytes_.get() : ""; }
    char* data() { return bytes_.get(); }
    size_t size() const { return size_; }
    std::string_view view() const { return {c_str(), size_}; }
    bool operator==(std::string_view other) const { return view() == other; }

private:
    std::unique_ptr<char[]> bytes_;
    size_t size_ = 0;
};

// The bytes up to the first zero byte, or all of them when there is none.
Text BytesToText(const uint8_t* bytes, size_t length);

// A copy with A to Z lowered. A byte of 0x80 or more starts a two-byte
// character, which is left as it is, trail byte included.
Text ToLowerText(const char* text);

// -1, 0 or 1 as the first text sorts before, with or after the second, byte
// by byte, unsigned, without folding case.
int32_t CompareText(const char* first, const char* second);

// Where the last backslash separator stands, or NoSeparator. A 0x5C that is
// the trail byte of a two-byte character is no separator.
constexpr size_t NoSeparator = static_cast<size_t>(-1);
size_t FindLastSeparator(const char* text);

// A registry path split at its last backslash separator: the key path below
// the root before it, the value name after it. Without a separator the key
// is the root itself; a trailing backslash names the key's default value.
struct RegistryPath {
    Text key;
    Text value;
};
RegistryPath SplitRegistryPath(const char* path);
