// Registry numbers: which root a number names, how a path splits, and real
// values read and written under keys of this test process's own.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "services/registry.h"
#include "tests/support.h"

namespace {

using Bytes = std::vector<BYTE>;

std::string Text(std::initializer_list<int> bytes) {
    std::string text;
    for (int b : bytes) text += static_cast<char>(b);
    return text;
}

struct RawValue {
    DWORD type;
    Bytes data;
};

std::optional<RawValue> QueryRaw(HKEY root, const std::string& key, const std::string& value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
    const UniqueKey owned(opened);
    RawValue raw{0, Bytes(64)};
    DWORD size = static_cast<DWORD>(raw.data.size());
    if (RegQueryValueExA(opened, value.c_str(), nullptr, &raw.type, raw.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    raw.data.resize(size);
    return raw;
}

bool KeyExists(const std::string& key) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened);
    const UniqueKey owned(status == ERROR_SUCCESS ? opened : nullptr);
    return status == ERROR_SUCCESS;
}

TEST(RegistryPaths, RootNumbersNameTheirKeysAndEveryOtherNumberTheCurrentUser) {
    const struct {
        int32_t root;
        HKEY key;
    } cases[] = {
        {1, HKEY_CLASSES_ROOT},  {2, HKEY_CURRENT_CONFIG}, {3, HKEY_CURRENT_USER},
        {4, HKEY_LOCAL_MACHINE}, {5, HKEY_USERS},          {0, HKEY_CURRENT_USER},
        {6, HKEY_CURRENT_USER},  {-1, HKEY_CURRENT_USER},  {INT32_MIN, HKEY_CURRENT_USER},
        {INT32_MAX, HKEY_CURRENT_USER},
    };
    for (const auto& c : cases) EXPECT_EQ(RootKey(c.root), c.key) << c.root;
}

TEST(RegistryPaths, SplitsAtTheLastSeparatorThatIsNoTrailByte) {
    const std::string trail5C = Text({0x95, 0x5C});  // one double-byte character
    const struct {
        const char* what;
        std::string path, key, value;
    } cases[] = {
        {"key and value", "Software\\Kv\\Number", "Software\\Kv", "Number"},
        {"no backslash: the root's value", "Number", "", "Number"},
        {"trailing backslash: the default value", "Software\\Kv\\", "Software\\Kv", ""},
        {"leading backslash only", "\\Number", "", "Number"},
        {"two backslashes", "Kv\\\\Number", "Kv\\", "Number"},
        {"empty", "", "", ""},
        {"trail byte 0x5C ends the value name", "Kv\\" + trail5C, "Kv", trail5C},
        {"trail byte 0x5C inside the key", "A" + trail5C + "\\B", "A" + trail5C, "B"},
        {"trail byte 0x5C, nothing else", trail5C, "", trail5C},
        {"lead byte last", "Kv\\" + Text({0x95}), "Kv", Text({0x95})},
    };
    for (const auto& c : cases) {
        const RegistryPath split = SplitRegistryPath(c.path.c_str());
        EXPECT_EQ(split.key, c.key) << c.what;
        EXPECT_EQ(split.value, c.value) << c.what;
    }
    const RegistryPath missing = SplitRegistryPath(nullptr);
    EXPECT_EQ(missing.key, "");
    EXPECT_EQ(missing.value, "");
}

// Every key a test makes lies below a key named after this process, removed
// with all it holds when the test ends.
class RegistryNumbers : public testing::Test {
protected:
    const std::string base_ = "Software\\KelvaneTest-" + std::to_string(GetCurrentProcessId());
    const std::string configValue_ = "KelvaneTest-" + std::to_string(GetCurrentProcessId());

    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
        RegDeleteValueA(HKEY_CURRENT_CONFIG, configValue_.c_str());
    }

    std::string Path(const std::string& below) const { return base_ + "\\" + below; }

    void SetRaw(const std::string& value, DWORD type, const Bytes& data) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, base_.c_str(), &key), ERROR_SUCCESS);
        const UniqueKey owned(key);
        ASSERT_EQ(RegSetValueExA(key, value.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
};

TEST_F(RegistryNumbers, AWriteCreatesTheMissingKeysAndStoresFourBytes) {
    EXPECT_TRUE(WriteRegistryNumber(3, Path("Made\\Deeper\\Number").c_str(), 0x12345678));
    const auto raw = QueryRaw(HKEY_CURRENT_USER, Path("Made\\Deeper"), "Number");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(raw->data, (Bytes{0x78, 0x56, 0x34, 0x12}));
}

TEST_F(RegistryNumbers, AWriteFailsWhenItsKeyCannotBeMade) {
    const std::string overlong(300, 'k');  // key names end at 255 characters
    EXPECT_FALSE(WriteRegistryNumber(3, Path(overlong + "\\Number").c_str(), 1));
}

TEST_F(RegistryNumbers, AReadOfAMissingKeyOrValueGivesTheDefaultAndCreatesNothing) {
    EXPECT_EQ(ReadRegistryNumber(3, Path("Absent\\Deeper\\Number").c_str(), 7), 7);
    EXPECT_EQ(ReadRegistryNumber(3, Path("Absent\\Deeper\\Number").c_str()), 0);
    EXPECT_FALSE(KeyExists(base_)) << "nothing of the path was created";

    ASSERT_TRUE(WriteRegistryNumber(3, Path("Other").c_str(), 1));
    EXPECT_EQ(ReadRegistryNumber(3, Path("Number").c_str(), -5), -5) << "the key is there, the value not";
}

TEST_F(RegistryNumbers, NumbersRoundTripStoredLittleEndian) {
    const struct {
        int32_t number;
        Bytes stored;
    } cases[] = {
        {-1, {0xFF, 0xFF, 0xFF, 0xFF}},
        {0, {0, 0, 0, 0}},
        {0x12345678, {0x78, 0x56, 0x34, 0x12}},
        {INT32_MIN, {0, 0, 0, 0x80}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteRegistryNumber(3, Path("Number").c_str(), c.number));
        const auto raw = QueryRaw(HKEY_CURRENT_USER, base_, "Number");
        ASSERT_TRUE(raw);
        EXPECT_EQ(raw->data, c.stored) << c.number;
        EXPECT_EQ(ReadRegistryNumber(3, Path("Number").c_str(), 99), c.number);
    }
}

TEST_F(RegistryNumbers, OnlyAFourByteDwordIsANumber) {
    const struct {
        const char* what;
        DWORD type;
        Bytes data;
        int32_t read;
    } cases[] = {
        {"a 4-byte REG_DWORD", REG_DWORD, {0x2A, 0x01, 0, 0}, 0x12A},
        {"REG_SZ digits", REG_SZ, {'1', '2', '3', 0}, 42},
        {"REG_BINARY of 4 bytes", REG_BINARY, {1, 0, 0, 0}, 42},
        {"REG_DWORD_BIG_ENDIAN", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}, 42},
        {"REG_QWORD", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 42},
        {"REG_DWORD of 2 bytes", REG_DWORD, {1, 0}, 42},
        {"REG_DWORD of no bytes", REG_DWORD, {}, 42},
        {"REG_DWORD of 8 bytes", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 42},
    };
    for (const auto& c : cases) {
        SetRaw("Value", c.type, c.data);
        EXPECT_EQ(ReadRegistryNumber(3, Path("Value").c_str(), 42), c.read) << c.what;
    }
    SetRaw("Value", REG_SZ, {'1', '2', '3', 0});
    EXPECT_EQ(ReadRegistryNumber(3, Path("Value").c_str()), 0) << "the default when none is given";
}

TEST_F(RegistryNumbers, AWriteReplacesAValueOfAnotherTypeOrSize) {
    const struct {
        const char* what;
        DWORD type;
        Bytes data;
    } cases[] = {
        {"REG_SZ digits", REG_SZ, {'1', '2', '3', 0}},
        {"REG_QWORD", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"REG_DWORD of 2 bytes", REG_DWORD, {1, 2}},
    };
    for (const auto& c : cases) {
        SetRaw("Value", c.type, c.data);
        EXPECT_TRUE(WriteRegistryNumber(3, Path("Value").c_str(), 1234)) << c.what;
        const auto raw = QueryRaw(HKEY_CURRENT_USER, base_, "Value");
        ASSERT_TRUE(raw);
        EXPECT_EQ(raw->type, static_cast<DWORD>(REG_DWORD)) << c.what;
        EXPECT_EQ(raw->data, (Bytes{0xD2, 0x04, 0, 0})) << c.what;
    }
}

TEST_F(RegistryNumbers, ATrailingBackslashNamesTheKeysDefaultValue) {
    ASSERT_TRUE(WriteRegistryNumber(3, Path("Defaults\\").c_str(), 77));
    const auto raw = QueryRaw(HKEY_CURRENT_USER, Path("Defaults"), "");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ReadRegistryNumber(3, Path("Defaults\\").c_str()), 77);
    EXPECT_EQ(ReadRegistryNumber(3, Path("Defaults").c_str(), -3), -3) << "no value of that name below the base";
}

TEST_F(RegistryNumbers, APathWithoutBackslashIsAValueOfTheRootItself) {
    HKEY opened = nullptr;
    const bool writable = RegOpenKeyExA(HKEY_CURRENT_CONFIG, "", 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS;
    const UniqueKey owned(writable ? opened : nullptr);
    if (!writable) GTEST_SKIP() << "this account may not write to the current configuration";

    EXPECT_TRUE(WriteRegistryNumber(2, configValue_.c_str(), 2024));
    const auto raw = QueryRaw(HKEY_CURRENT_CONFIG, "", configValue_);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->data, (Bytes{0xE8, 0x07, 0, 0}));
    EXPECT_EQ(ReadRegistryNumber(2, configValue_.c_str()), 2024);
    EXPECT_EQ(ReadRegistryNumber(3, configValue_.c_str(), -1), -1) << "another root holds no such value";
}

}  // namespace
