// The byte rules of the text helpers, which decide whether the client runs.
#include <gtest/gtest.h>

#include <cstring>

#include "services/text.h"

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string text;
    for (int b : bytes) text += static_cast<char>(b);
    return text;
}

TEST(Text, CopiesAndAMovedFromTextIsEmpty) {
    Text original = "QyClient.exe";
    const Text copy = original;
    Text moved = std::move(original);
    EXPECT_EQ(copy, "QyClient.exe");
    EXPECT_EQ(moved, "QyClient.exe");
    EXPECT_EQ(original.size(), 0u);  // NOLINT(bugprone-use-after-move): what is left must be usable
    EXPECT_EQ(original, "");
    EXPECT_EQ(Text(nullptr), "");
    EXPECT_EQ(Text("ab\0cd", 5).size(), 5u);
}

TEST(BytesToText, StopsAtTheFirstZeroOrTakesTheWholeBuffer) {
    uint8_t buffer[256] = {};
    std::memcpy(buffer, "QyClient.exe", 12);
    EXPECT_EQ(BytesToText(buffer, sizeof buffer), "QyClient.exe");

    uint8_t full[256];
    std::memset(full, 'x', sizeof full);
    EXPECT_EQ(BytesToText(full, sizeof full), std::string(256, 'x'));

    EXPECT_EQ(BytesToText(full, 0), "");
    uint8_t leadingZero[4] = {0, 'a', 'b', 0};
    EXPECT_EQ(BytesToText(leadingZero, sizeof leadingZero), "");
    EXPECT_EQ(BytesToText(nullptr, 5), "");
}

TEST(ToLowerText, LowersOnlyAToZAndShieldsTheByteAfterALeadByte) {
    const struct {
        const char* what;
        std::string in, out;
    } cases[] = {
        {"the client's name", "QyClient.exe", "qyclient.exe"},
        {"empty", "", ""},
        {"digits and punctuation", "A-Z_0@9[`]", "a-z_0@9[`]"},
        {"capital after a lead byte stays", Bytes({0xB0, 'A', 'B', 'C'}), Bytes({0xB0, 'A', 'b', 'c'})},
        {"lead byte last", Bytes({'Q', 0x81}), Bytes({'q', 0x81})},
        {"two double-byte characters", Bytes({0xA3, 0xD0, 0xA3, 0xB0, 'X'}), Bytes({0xA3, 0xD0, 0xA3, 0xB0, 'x'})},
        {"accented single byte shields too", Bytes({0xC9, 'E', 'E'}), Bytes({0xC9, 'E', 'e'})},
    };
    for (const auto& c : cases) EXPECT_EQ(ToLowerText(c.in.c_str()), c.out) << c.what;
    EXPECT_EQ(ToLowerText(nullptr), "");
}

TEST(CompareText, OrdersBytesUnsignedWithMissingAsEmpty) {
    const std::string high = Bytes({0x80});
    const struct {
        const char *first, *second;
        int expected;
    } cases[] = {
        {"", nullptr, 0},         {nullptr, "", 0},          {nullptr, nullptr, 0},
        {"a", nullptr, 1},        {nullptr, "a", -1},        {"QyClient.exe", "QyClient.exe", 0},
        {"QyClient.exe", "qyclient.exe", -1},                {"qyclient.exe", "QyClient.exe", 1},
        {"QyClient", "QyClient.exe", -1},                    {"QyClient.exe", "QyClient", 1},
        {high.c_str(), "z", 1},   {"z", high.c_str(), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareText(c.first, c.second), c.expected)
            << (c.first ? c.first : "(missing)") << " vs " << (c.second ? c.second : "(missing)");
}

TEST(FindLastSeparator, SplitsAtTheLastBackslashThatIsNoTrailByte) {
    const std::string trail = Bytes({'k', '\\', 0x95, 0x5C, 'v'});  // 0x95 0x5C is one character
    const struct {
        std::string text;
        size_t expected;
    } cases[] = {
        {"aqy", std::string::npos},
        {"Software\\Kelvane\\aqy", 16},
        {"key\\", 3},
        {"\\value", 0},
        {trail, 1},
        {Bytes({'a', '\\', 0x81}), 1},
    };
    for (const auto& c : cases) EXPECT_EQ(FindLastSeparator(c.text.c_str()), c.expected) << c.text;
    EXPECT_EQ(FindLastSeparator(nullptr), std::string::npos);
}

}  // namespace
