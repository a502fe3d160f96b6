#include <windows.h>

#include <gtest/gtest.h>

#include "inventory/registry.h"

namespace tq {
namespace {

const wchar_t* const kKey = L"Software\\TessarineSoftwareTests\\Registry";

class RegistryHelpers : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        if (key_)
            RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    }
    void set(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }
    HKEY key_ = nullptr;
};

TEST_F(RegistryHelpers, Strings) {
    const wchar_t plain[] = L"Windows 10 Pro";
    set(L"Plain", REG_SZ, plain, sizeof plain);
    const wchar_t nuls[] = L"23H2\0\0\0";
    set(L"TrailingNuls", REG_SZ, nuls, sizeof nuls);
    set(L"NoTerminator", REG_SZ, L"ABCD", 8);
    set(L"Expand", REG_EXPAND_SZ, L"%SystemRoot%\\x", 30);
    set(L"Empty", REG_SZ, L"", 2);
    const DWORD number = 7;
    set(L"Number", REG_DWORD, &number, sizeof number);
    set(L"Binary", REG_BINARY, "ab", 2);
    const wchar_t accent[] = L"Caf\u00e9";
    set(L"Accent", REG_SZ, accent, sizeof accent);

    const struct {
        const wchar_t* name;
        std::optional<std::wstring> expected;
    } cases[] = {
        {L"Plain", L"Windows 10 Pro"},
        {L"TrailingNuls", L"23H2"},
        {L"NoTerminator", L"ABCD"},
        {L"Expand", L"%SystemRoot%\\x"},
        {L"Empty", L""},
        {L"Number", std::nullopt},
        {L"Binary", std::nullopt},
        {L"Missing", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read_reg_wstring(RegRoot::CurrentUser, kKey, c.name), c.expected) << c.name;
    }
    EXPECT_EQ(read_reg_string(RegRoot::CurrentUser, kKey, L"Accent"), "Caf\xC3\xA9");
    EXPECT_EQ(read_reg_string(RegRoot::CurrentUser, kKey, L"Binary"), std::nullopt);
    EXPECT_EQ(read_reg_string(RegRoot::CurrentUser, L"Software\\NoSuchKeyHere", L"Plain"),
              std::nullopt);
}

TEST_F(RegistryHelpers, Dwords) {
    const DWORD ubr = 4169;
    set(L"UBR", REG_DWORD, &ubr, sizeof ubr);
    set(L"Text", REG_SZ, L"4169", 10);
    const ULONGLONG wide = 5;
    set(L"Qword", REG_QWORD, &wide, sizeof wide);
    EXPECT_EQ(read_reg_dword(RegRoot::CurrentUser, kKey, L"UBR"), 4169u);
    EXPECT_EQ(read_reg_dword(RegRoot::CurrentUser, kKey, L"Text"), std::nullopt);
    EXPECT_EQ(read_reg_dword(RegRoot::CurrentUser, kKey, L"Qword"), std::nullopt);
    EXPECT_EQ(read_reg_dword(RegRoot::CurrentUser, kKey, L"Missing"), std::nullopt);
}

TEST_F(RegistryHelpers, Subkeys) {
    EXPECT_TRUE(list_reg_subkeys(RegRoot::CurrentUser, kKey).empty());
    for (const wchar_t* name : {L"0000", L"0001", L"Properties"}) {
        HKEY sub = nullptr;
        ASSERT_EQ(
            RegCreateKeyExW(key_, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
            ERROR_SUCCESS);
        RegCloseKey(sub);
    }
    auto names = list_reg_subkeys(RegRoot::CurrentUser, kKey);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"0000", L"0001", L"Properties"}));
    EXPECT_TRUE(list_reg_subkeys(RegRoot::CurrentUser, L"Software\\NoSuchKeyHere").empty());
}

TEST(Registry, MachineKeysAreReadable) {
    // The system collector's key exists on every Windows and under Wine.
    EXPECT_TRUE(read_reg_string(RegRoot::LocalMachine,
                                L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                L"CurrentVersion")
                    .has_value());
}

}  // namespace
}  // namespace tq
