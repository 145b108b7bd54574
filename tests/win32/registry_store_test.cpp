// RegistryStore against the real registry, in scratch keys made and removed by each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

#include "base/registry_store.h"
#include "test_support.h"

namespace velk {
namespace {

using test::QueryValue;
using test::ScratchKey;
using test::SetValue;

constexpr const char* kStoreTop = "VelkTest";
constexpr const char* kVersionPath = "VelkTest\\Brannock\\Velkarion\\1.0";

class RegistryStoreTest : public ::testing::Test {
protected:
    ScratchKey scratch_{kStoreTop, HKEY_LOCAL_MACHINE};
    RegistryStore store_;

    void OpenStore(const char* section = nullptr) {
        ASSERT_TRUE(store_.Open("Brannock", "Velkarion", "1.0", section, HKEY_LOCAL_MACHINE, kStoreTop));
    }
    void StoreRaw(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kVersionPath, name, type, data, size));
    }
};

TEST_F(RegistryStoreTest, OpenCreatesEveryLevelAndFirstReadsGiveDefaults) {
    ASSERT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kStoreTop));
    OpenStore();
    EXPECT_TRUE(store_.isOpen());
    EXPECT_TRUE(test::KeyExists(HKEY_LOCAL_MACHINE, kVersionPath));
    EXPECT_EQ(store_.sectionKey(), store_.versionKey());
    EXPECT_EQ(store_.productName(), "Velkarion");
    EXPECT_EQ(store_.sectionName(), "");
    EXPECT_EQ(store_.ReadDword("Num Launcher Runs", 0), 0);
    EXPECT_EQ(store_.ReadDword("Last Random", 1), 1);
    char buf[16];
    uint32_t size = sizeof(buf);
    EXPECT_STREQ(store_.ReadString("Commands", buf, size, "dflt"), "dflt");
    EXPECT_EQ(size, 4u);
}

TEST_F(RegistryStoreTest, NumbersAreExactDwordsAndSigned) {
    OpenStore();
    ASSERT_TRUE(store_.WriteDword("Num Launcher Runs", -2));
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(QueryValue(HKEY_LOCAL_MACHINE, kVersionPath, "Num Launcher Runs", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(data, (std::vector<BYTE>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(store_.ReadDword("Num Launcher Runs", 7), -2);
}

TEST_F(RegistryStoreTest, TextsAreStoredWithTheirNul) {
    OpenStore();
    ASSERT_TRUE(store_.WriteString("Commands", "+a 1"));
    ASSERT_TRUE(store_.WriteString("Empty", ""));
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(QueryValue(HKEY_LOCAL_MACHINE, kVersionPath, "Commands", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, (std::vector<BYTE>{'+', 'a', ' ', '1', 0}));
    ASSERT_TRUE(QueryValue(HKEY_LOCAL_MACHINE, kVersionPath, "Empty", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data.size(), 1u);
    EXPECT_FALSE(store_.WriteString("Absent", nullptr));
    EXPECT_FALSE(QueryValue(HKEY_LOCAL_MACHINE, kVersionPath, "Absent", &type, &data));
}

TEST_F(RegistryStoreTest, WrongTypeYieldsTheDefault) {
    OpenStore();
    StoreRaw("AsText", REG_SZ, "12", 3);
    DWORD number = 12;
    StoreRaw("AsNumber", REG_DWORD, &number, 4);
    BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    StoreRaw("AsQword", REG_BINARY, eight, 8);
    StoreRaw("Expand", REG_EXPAND_SZ, "abc", 4);

    EXPECT_EQ(store_.ReadDword("AsText", 99), 99);
    EXPECT_EQ(store_.ReadDword("AsQword", 99), 99);
    EXPECT_EQ(store_.ReadDword("AsNumber", 99), 12);
    char buf[16];
    uint32_t size = sizeof(buf);
    EXPECT_STREQ(store_.ReadString("AsNumber", buf, size, "d"), "d");
    size = sizeof(buf);
    EXPECT_STREQ(store_.ReadString("Expand", buf, size, "d"), "d");
}

// What the troubleshooting summary lists: every value, texts in UTF-8 whatever
// their characters, odd data as stored; and the deletes of its reset.
TEST_F(RegistryStoreTest, ListsEveryValueAndDeletesOne) {
    OpenStore();
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kVersionPath, "Num", REG_DWORD, "\x04\0\0\0", 4));
    const wchar_t wide[] = L"\u65e5\u00e5";  // outside the ANSI code page, then å
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kVersionPath, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegSetValueExW(key, L"N\u65e5", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide), sizeof(wide));
    RegSetValueExW(key, L"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(L"a\0b\0"), 5 * sizeof(wchar_t));
    RegSetValueExW(key, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"xyz"), 3);  // odd size, no NUL
    RegSetValueExW(key, L"Blob", 0, REG_BINARY, nullptr, 0);
    RegCloseKey(key);

    std::map<std::string, std::pair<DWORD, std::string>> listed;
    for (const RegistryStore::StoredValue& v : store_.ListValues()) listed[v.name] = {v.type, v.data};
    using Entry = std::pair<DWORD, std::string>;
    EXPECT_EQ(listed, (std::map<std::string, Entry>{{"Num", {REG_DWORD, std::string("\x04\0\0\0", 4)}},
                                                    {"N\xE6\x97\xA5", {REG_SZ, "\xE6\x97\xA5\xC3\xA5"}},
                                                    {"Multi", {REG_MULTI_SZ, std::string("a\0b", 3)}},
                                                    {"Bare", {REG_SZ, "x"}},
                                                    {"Blob", {REG_BINARY, ""}}}));

    // Only the values picked are read, in the order picked, each cut to what is kept.
    std::vector<std::string> offered;
    auto pick = [&](const std::vector<std::string>& names) {
        offered = names;
        std::vector<size_t> picked;
        for (const char* name : {"Multi", "N\xE6\x97\xA5"})
            picked.push_back(std::find(names.begin(), names.end(), name) - names.begin());
        return picked;
    };
    using Kept = std::tuple<std::string, DWORD, std::string, uint64_t>;
    std::vector<Kept> kept;
    for (const RegistryStore::StoredValue& v : store_.ListValues(pick, 2))
        kept.emplace_back(v.name, v.type, v.data, v.size);
    EXPECT_EQ(offered.size(), 5u);
    EXPECT_EQ(kept, (std::vector<Kept>{{"Multi", REG_MULTI_SZ, std::string("a\0", 2), 3},
                                       {"N\xE6\x97\xA5", REG_SZ, "\xE6\x97", 5}}));

    EXPECT_TRUE(store_.DeleteValue("Num"));
    EXPECT_TRUE(store_.DeleteValue("Num"));  // gone already: still gone
    EXPECT_EQ(store_.ReadDword("Num", 7), 7);
    EXPECT_EQ(store_.ListValues().size(), 4u);
    store_.Close();
    EXPECT_FALSE(store_.DeleteValue("Multi"));
    EXPECT_TRUE(store_.ListValues().empty());
}

// Sizes: the text stored, the buffer offered, and what comes back.
struct FitCase {
    const char* stored;
    uint32_t bufferSize;
    const char* expected;     // nullptr: nothing
    uint32_t expectedSize;
};

TEST_F(RegistryStoreTest, StringFitAgainstTheBuffer) {
    const FitCase cases[] = {
        {"abcdefg", 8, "abcdefg", 8},   // size - 1 characters: fits, size counts the NUL
        {"abcdefgh", 8, "dflt", 4},     // one more: the default
        {"", 8, "", 1},                 // an empty text is a one-byte value
        {"a", 1, "", 0},                // one byte of room cannot hold a text; default cut to fit
    };
    OpenStore();
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.stored);
        ASSERT_TRUE(store_.WriteString("Text", c.stored));
        char buf[32];
        memset(buf, 'X', sizeof(buf));
        uint32_t size = c.bufferSize;
        char* got = store_.ReadString("Text", buf, size, "dflt");
        ASSERT_NE(got, nullptr);
        EXPECT_STREQ(got, c.expected);
        EXPECT_EQ(size, c.expectedSize);
        EXPECT_EQ(buf[c.bufferSize], 'X') << "wrote past the buffer";
    }
}

TEST_F(RegistryStoreTest, NoDefaultAndNoValueGivesNothing) {
    OpenStore();
    char buf[8] = "sentin";
    uint32_t size = sizeof(buf);
    EXPECT_EQ(store_.ReadString("Missing", buf, size, nullptr), nullptr);
    EXPECT_EQ(size, 0u);
    size = 0;
    EXPECT_EQ(store_.ReadString("Missing", buf, size, nullptr), nullptr);
    EXPECT_STREQ(buf, "sentin");
}

TEST_F(RegistryStoreTest, TextStoredWithoutNulIsTerminatedOrRejected) {
    OpenStore();
    StoreRaw("NoNul", REG_SZ, "abc", 3);
    char buf[8];
    memset(buf, 'X', sizeof(buf));
    uint32_t size = sizeof(buf);
    char* got = store_.ReadString("NoNul", buf, size, "dflt");
    ASSERT_NE(got, nullptr);
    EXPECT_STREQ(got, "abc");
    EXPECT_EQ(size, 4u);

    // Fills the whole buffer without a NUL: too long, the default applies.
    StoreRaw("Full", REG_SZ, "abcdefgh", 8);
    memset(buf, 'X', sizeof(buf));
    size = sizeof(buf);
    got = store_.ReadString("Full", buf, size, "dflt");
    ASSERT_NE(got, nullptr);
    EXPECT_STREQ(got, "dflt");
    memset(buf, 'X', sizeof(buf));
    size = sizeof(buf);
    EXPECT_EQ(store_.ReadString("Full", buf, size, nullptr), nullptr);
    EXPECT_EQ(size, 0u);
}

TEST_F(RegistryStoreTest, SectionsUseTheSubKeyBelowTheVersion) {
    OpenStore("Sect");
    EXPECT_NE(store_.sectionKey(), store_.versionKey());
    EXPECT_EQ(store_.sectionName(), "Sect");
    ASSERT_TRUE(store_.WriteDword("Value", 5));
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_TRUE(QueryValue(HKEY_LOCAL_MACHINE, std::string(kVersionPath) + "\\Sect", "Value", &type, &data));
    EXPECT_FALSE(QueryValue(HKEY_LOCAL_MACHINE, kVersionPath, "Value", &type, &data));
    store_.Close();

    OpenStore();
    EXPECT_EQ(store_.ReadDword("Value", -1), -1);
    ASSERT_TRUE(store_.WriteDword("Direct", 6));
    EXPECT_TRUE(QueryValue(HKEY_LOCAL_MACHINE, kVersionPath, "Direct", &type, &data));
}

TEST_F(RegistryStoreTest, ClosedStoreIsHarmless) {
    EXPECT_FALSE(store_.isOpen());
    store_.Close();  // never opened
    EXPECT_EQ(store_.ReadDword("x", 3), 3);
    EXPECT_FALSE(store_.WriteDword("x", 1));
    EXPECT_FALSE(store_.WriteString("x", "y"));
    EXPECT_FALSE(store_.SelectSection(nullptr));
    char buf[8];
    uint32_t size = sizeof(buf);
    EXPECT_STREQ(store_.ReadString("x", buf, size, "d"), "d");
    EXPECT_EQ(size, 1u);
}

TEST_F(RegistryStoreTest, FailedOpenStaysClosedAndCloseDoesNothing) {
    // No root at all: the very first level cannot be created.
    EXPECT_FALSE(store_.Open("Brannock", "Velkarion", "1.0", nullptr, nullptr, kStoreTop));
    EXPECT_FALSE(store_.isOpen());
    store_.Close();
    EXPECT_FALSE(store_.isOpen());
    EXPECT_EQ(store_.ReadDword("x", 4), 4);
    // A level that fails part-way: a product name too long for a key name.
    std::string tooLong(300, 'k');
    EXPECT_FALSE(store_.Open("Brannock", tooLong.c_str(), "1.0", nullptr, HKEY_LOCAL_MACHINE, kStoreTop));
    EXPECT_FALSE(store_.isOpen());
    EXPECT_LE(store_.productName().size(), 255u);
}

TEST_F(RegistryStoreTest, CloseReleasesTheSharedVersionHandleOnce) {
    OpenStore();
    HKEY version = store_.versionKey();
    store_.Close();
    EXPECT_FALSE(store_.isOpen());
    EXPECT_EQ(store_.sectionKey(), nullptr);
    // The handle is gone: using it now fails.
    DWORD type;
    EXPECT_NE(RegQueryValueExA(version, "x", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    store_.Close();  // a second close is harmless
    // And the store opens again cleanly.
    OpenStore();
    EXPECT_TRUE(store_.WriteDword("Again", 1));
}

TEST_F(RegistryStoreTest, ExistingKeysAreReopened) {
    OpenStore();
    ASSERT_TRUE(store_.WriteString("Language", "Swedish"));
    store_.Close();
    RegistryStore other;
    ASSERT_TRUE(other.Open("Brannock", "Velkarion", "1.0", nullptr, HKEY_LOCAL_MACHINE, kStoreTop));
    char buf[16];
    uint32_t size = sizeof(buf);
    EXPECT_STREQ(other.ReadString("Language", buf, size, nullptr), "Swedish");
    EXPECT_EQ(size, 8u);
}

}  // namespace
}  // namespace velk
