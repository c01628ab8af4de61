#include "services/text.h"

#include <cstring>

namespace {

bool StartsTwoByteCharacter(unsigned char byte) { return byte >= 0x80; }

}  // namespace

Text::Text(const char* text) : Text(text, text ? std::strlen(text) : 0) {}

Text::Text(const char* bytes, size_t length) : size_(length) {
    if (!bytes || length == 0) {
        size_ = 0;
        return;
    }
    bytes_.reset(new char[length + 1]);
    std::memcpy(bytes_.get(), bytes, length);
    bytes_[length] = '\0';
}

Text BytesToText(const uint8_t* bytes, size_t length) {
    if (!bytes) return {};
    const void* zero = std::memchr(bytes, 0, length);
    const size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : length;
    return Text(reinterpret_cast<const char*>(bytes), n);
}

Text ToLowerText(const char* text) {
    Text lower(text);
    char* bytes = lower.data();
    for (size_t i = 0; i < lower.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 'A' && byte <= 'Z')
            bytes[i] = static_cast<char>(byte + 0x20);
        else if (StartsTwoByteCharacter(byte))
            ++i;  // the trail byte keeps its value, whatever it is
    }
    return lower;
}

int32_t CompareText(const char* first, const char* second) {
    const auto* a = reinterpret_cast<const unsigned char*>(first ? first : "");
    const auto* b = reinterpret_cast<const unsigned char*>(second ? second : "");
    while (*a && *a == *b) ++a, ++b;
    if (*a == *b) return 0;
    return *a < *b ? -1 : 1;
}

size_t FindLastSeparator(const char* text) {
    size_t last = NoSeparator;
    for (size_t i = 0; text && text[i]; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (StartsTwoByteCharacter(byte)) {
            if (!text[i + 1]) break;
            ++i;
        } else if (byte == '\\') {
            last = i;
        }
    }
    return last;
}

RegistryPath SplitRegistryPath(const char* path) {
    const Text text(path);
    const size_t separator = FindLastSeparator(text.c_str());
    if (separator == NoSeparator) return {Text(), text};
    return {Text(text.c_str(), separator),
            Text(text.c_str() + separator + 1, text.size() - separator - 1)};
}
