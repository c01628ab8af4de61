// FindLastSeparator and SplitRegistryPath on arbitrary paths: the input, up
// to its first zero byte, is the path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "services/text.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// The last backslash that starts a character, walking the text character by
// character: a byte of 0x80 or more takes the next byte with it.
size_t LastSeparatorByHand(const std::string& text) {
    size_t last = NoSeparator;
    size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80) {
            at += 2;
            continue;
        }
        if (byte == '\\') last = at;
        ++at;
    }
    return last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text read = BytesToText(data, size);
    const std::string path(read.view());
    const size_t separator = FindLastSeparator(path.c_str());
    Require(separator == LastSeparatorByHand(path));

    const RegistryPath split = SplitRegistryPath(path.c_str());
    const std::string key(split.key.view()), value(split.value.view());
    Require(std::strlen(split.key.c_str()) == key.size());
    Require(std::strlen(split.value.c_str()) == value.size());
    if (separator == NoSeparator) {
        Require(key.empty());
        Require(value == path);
    } else {
        Require(path[separator] == '\\');
        Require(key.size() == separator);
        Require(key + "\\" + value == path);
        // The value starts on a character, so no separator is left in it.
        Require(FindLastSeparator(value.c_str()) == NoSeparator);
    }

    const RegistryPath missing = SplitRegistryPath(nullptr);
    Require(missing.key.size() == 0 && missing.value.size() == 0);
    Require(*missing.key.c_str() == '\0' && *missing.value.c_str() == '\0');
    Require(FindLastSeparator(nullptr) == NoSeparator);
    return 0;
}
