#include "settings/erwr.h"

#include <gtest/gtest.h>

namespace ferryl {
namespace {

// A key of its own under HKEY_CURRENT_USER in the Wine registry, removed again at the end.
class RegReadTest : public testing::Test {
  protected:
    void SetUp() override {
        m_subkey = L"Software\\FerrylTest\\RegRead" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                                    nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        ::RegCloseKey(m_key);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\FerrylTest");
    }
    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(::RegSetValueExW(m_key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    }
    void SetText(const wchar_t* name, DWORD type, const std::wstring& text) {
        SetRaw(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    std::wstring Read(const std::wstring& name) { return RegRead(HKEY_CURRENT_USER, m_subkey, name).ToText(); }

    std::wstring m_subkey;
    HKEY m_key = nullptr;
};

TEST_F(RegReadTest, ReadsAStringValue) {
    SetText(L"current", REG_SZ, L"C:\\Program Files\\Mail\\mail.exe C:\\Mail\\mail.ini");
    TaggedValue value = RegRead(HKEY_CURRENT_USER, m_subkey, L"current");
    EXPECT_TRUE(value.IsText());
    EXPECT_EQ(value.ToText(), L"C:\\Program Files\\Mail\\mail.exe C:\\Mail\\mail.ini");
    SetText(nullptr, REG_SZ, L"default value");
    EXPECT_EQ(Read(L""), L"default value");
}

TEST_F(RegReadTest, StopsAtTheFirstNul) {
    const wchar_t data[] = L"first\0second";
    SetRaw(L"twoparts", REG_SZ, data, sizeof data);
    EXPECT_EQ(Read(L"twoparts"), L"first");
    // Stored without any terminating NUL.
    SetRaw(L"unterminated", REG_SZ, L"abc", 3 * sizeof(wchar_t));
    EXPECT_EQ(Read(L"unterminated"), L"abc");
}

TEST_F(RegReadTest, EverythingElseIsTheMissingSentinel) {
    SetText(L"empty", REG_SZ, L"");
    SetText(L"expand", REG_EXPAND_SZ, L"%TEMP%\\x");
    DWORD number = 5;
    SetRaw(L"number", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(Read(L"empty"), kRegReadMissing);
    EXPECT_EQ(Read(L"expand"), kRegReadMissing);
    EXPECT_EQ(Read(L"number"), kRegReadMissing);
    EXPECT_EQ(Read(L"no such value"), kRegReadMissing);
    EXPECT_EQ(RegRead(HKEY_CURRENT_USER, m_subkey + L"\\no such key", L"current").ToText(), kRegReadMissing);
    EXPECT_EQ(std::wstring(kRegReadMissing), L"No! Value or Key Doesn't exist");
}

}  // namespace
}  // namespace ferryl
