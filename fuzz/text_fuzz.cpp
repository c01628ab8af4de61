// Text, BytesToText, ToLowerText and CompareText on arbitrary bytes. The
// input is read as two texts: the bytes up to the first zero, and those
// after it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "services/text.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// What ToLowerText must give: A to Z lowered, except a byte right after a
// byte of 0x80 or more, which is the trail of a two-byte character.
std::string LoweredByHand(const std::string& text) {
    std::string lowered = text;
    bool trail = false;
    for (char& c : lowered) {
        const auto byte = static_cast<unsigned char>(c);
        if (trail) {
            trail = false;
        } else if (byte >= 0x80) {
            trail = true;
        } else if (byte >= 'A' && byte <= 'Z') {
            c = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return lowered;
}

int Sign(int value) { return (value > 0) - (value < 0); }

// Its bytes, then a zero byte that c_str() shows.
void CheckTerminated(const Text& text, std::string_view bytes) {
    Require(text.size() == bytes.size());
    Require(text.view() == bytes && text == bytes);
    Require(text.c_str()[text.size()] == '\0');
    Require(bytes.empty() || std::memcmp(text.c_str(), bytes.data(), bytes.size()) == 0);
}

// A Text keeps every byte it is given, zero bytes included, through copies,
// moves and assignments.
void CheckText(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Text text(bytes.data(), bytes.size());
    CheckTerminated(text, bytes);

    Text copy(text);
    CheckTerminated(copy, bytes);
    Text assigned("before");
    assigned = copy;
    CheckTerminated(assigned, bytes);
    CheckTerminated(copy, bytes);
    Text moved(std::move(copy));
    CheckTerminated(moved, bytes);
    copy = text;  // a moved-from text takes a new value
    CheckTerminated(copy, bytes);
    assigned = Text();
    CheckTerminated(assigned, {});
    assigned = std::move(moved);
    CheckTerminated(assigned, bytes);

    const Text upToZero(text.c_str());
    CheckTerminated(upToZero, std::string_view(text.c_str()));
    CheckTerminated(Text(nullptr), {});
    CheckTerminated(Text(nullptr, size), {});
    CheckTerminated(Text(bytes.data(), 0), {});
}

std::string Copy(const Text& text) { return std::string(text.view()); }

void CheckBytesToText(const uint8_t* data, size_t size, const Text& result) {
    CheckTerminated(result, result.view());
    const std::string text = Copy(result);
    Require(text.size() <= size);
    Require(std::memchr(text.data(), 0, text.size()) == nullptr);
    Require(std::memcmp(text.data(), data, text.size()) == 0);
    Require(text.size() == size || data[text.size()] == 0);
}

void CheckLowering(const std::string& text) {
    const Text lowering = ToLowerText(text.c_str());
    CheckTerminated(lowering, lowering.view());
    const std::string lowered = Copy(lowering);
    Require(lowered.size() == text.size());
    Require(lowered == LoweredByHand(text));
    Require(ToLowerText(lowered.c_str()) == lowered);
    Require(std::strlen(lowered.c_str()) == lowered.size());
    // Lowering moves no separator: no byte changes between below and above 0x80.
    Require(FindLastSeparator(lowered.c_str()) == FindLastSeparator(text.c_str()));
}

void CheckComparison(const std::string& first, const std::string& second) {
    const int32_t forward = CompareText(first.c_str(), second.c_str());
    const int32_t backward = CompareText(second.c_str(), first.c_str());
    Require(forward == -1 || forward == 0 || forward == 1);
    Require(forward == -backward);
    Require((forward == 0) == (first == second));
    // std::string orders char bytes as unsigned, as CompareText does.
    Require(forward == Sign(first.compare(second)));
    Require(CompareText(first.c_str(), first.c_str()) == 0);
    Require(CompareText(first.c_str(), nullptr) == (first.empty() ? 0 : 1));
    Require(CompareText(nullptr, first.c_str()) == (first.empty() ? 0 : -1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckText(data, size);

    const Text firstText = BytesToText(data, size);
    CheckBytesToText(data, size, firstText);
    const std::string first = Copy(firstText);
    const size_t rest = first.size() < size ? first.size() + 1 : size;
    const Text secondText = BytesToText(data + rest, size - rest);
    CheckBytesToText(data + rest, size - rest, secondText);
    const std::string second = Copy(secondText);

    CheckLowering(first);
    CheckLowering(second);
    CheckComparison(first, second);
    CheckComparison(Copy(ToLowerText(first.c_str())), Copy(ToLowerText(second.c_str())));
    CheckTerminated(ToLowerText(nullptr), {});
    CheckTerminated(BytesToText(nullptr, size), {});
    return 0;
}
