// Starting with Windows: which Run values count as this program file's, and the value written,
// deleted and, where the registry refuses, left as it was. Against a key of the test's own.
#include "app/StartWithWindows.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const wchar_t kTestKey[] = L"Software\\Quillmark\\Sonobar Test Run";
const wchar_t kProgram[] = L"C:\\Program Files\\Sonobar\\sonobar.exe";
// A blank and a non-ASCII letter, which the path keeps through the wide registry functions.
const wchar_t kMusicProgram[] = L"C:\\M\u00fcsik Tools\\sonobar.exe";

// The test's stand-in for the Run key, opened with the access given, and deleted after.
class CTestRunKey {
public:
    explicit CTestRunKey(REGSAM access = KEY_QUERY_VALUE | KEY_SET_VALUE)
    {
        HKEY hKey = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, access, nullptr, &hKey, nullptr);
        m_key.Reset(hKey);
    }
    ~CTestRunKey() { ::RegDeleteKeyW(HKEY_CURRENT_USER, kTestKey); }
    CTestRunKey(const CTestRunKey&) = delete;
    CTestRunKey& operator=(const CTestRunKey&) = delete;

    HKEY Get() const { return m_key.Get(); }

private:
    CScopedRegKey m_key;
};

std::optional<std::wstring> StoredValue()
{
    wchar_t szValue[MAX_PATH] = {};
    DWORD cbValue = sizeof szValue;
    if (::RegGetValueW(HKEY_CURRENT_USER, kTestKey, kRunValueName, RRF_RT_REG_SZ, nullptr, szValue,
                       &cbValue) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(szValue);
}

void Store(const wchar_t* pszValue)
{
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kTestKey, kRunValueName, REG_SZ, pszValue,
                      static_cast<DWORD>((::lstrlenW(pszValue) + 1) * sizeof(wchar_t)));
}

} // namespace

TEST(StartWithWindowsTest, OnlyTheQuotedPathOfThisVeryFileWithNoRoleWordCounts)
{
    const struct {
        const wchar_t* pszStored;
        const wchar_t* pszProgram;
        bool bOn;
    } cases[] = {
        {nullptr, kProgram, false},
        {L"\"C:\\Program Files\\Sonobar\\sonobar.exe\"", kProgram, true},
        {L"\"c:\\program files\\SONOBAR\\Sonobar.EXE\"", kProgram, true},
        {L"C:\\Program Files\\Sonobar\\sonobar.exe", kProgram, false},
        {L"\"C:\\Program Files\\Sonobar\\sonobar.exe\" v0", kProgram, false},
        {L"\"C:\\Program Files\\Sonobar\\old.exe\"", kProgram, false},
        {L"\"C:\\Program Files\\Sonobar\\sonobar.exe\"", L"D:\\Moved\\sonobar.exe", false},
        {L"\"C:\\M\u00fcsik Tools\\sonobar.exe\"", kMusicProgram, true},
        {L"\"C:\\Musik Tools\\sonobar.exe\"", kMusicProgram, false},
    };
    for (const auto& c : cases) {
        const CTestRunKey key;
        if (c.pszStored)
            Store(c.pszStored);
        EXPECT_EQ(c.bOn, StartsWithWindows(key.Get(), c.pszProgram))
            << (c.pszStored ? "stored" : "nothing stored") << ", case " << (&c - cases);
    }
}

TEST(StartWithWindowsTest, ChoosingItWritesThePathAndChoosingItAgainDeletesIt)
{
    const CTestRunKey key;
    for (const wchar_t* pszProgram : {kProgram, kMusicProgram}) {
        ASSERT_TRUE(SetStartWithWindows(key.Get(), pszProgram, true));
        EXPECT_EQ(L"\"" + std::wstring(pszProgram) + L"\"", StoredValue().value_or(L"(none)"));
        EXPECT_TRUE(StartsWithWindows(key.Get(), pszProgram));
        ASSERT_TRUE(SetStartWithWindows(key.Get(), pszProgram, false));
        EXPECT_FALSE(StoredValue().has_value());
        EXPECT_TRUE(SetStartWithWindows(key.Get(), pszProgram, false)) << "nothing left to delete";
    }
    // A moved program takes the value over.
    Store(L"\"D:\\Old Place\\sonobar.exe\"");
    ASSERT_TRUE(SetStartWithWindows(key.Get(), kProgram, true));
    EXPECT_TRUE(StartsWithWindows(key.Get(), kProgram));
}

TEST(StartWithWindowsTest, ARefusedWriteOrDeleteLeavesTheValueAsItWas)
{
    const CTestRunKey writable;
    const CTestRunKey readOnly(KEY_QUERY_VALUE);
    EXPECT_FALSE(SetStartWithWindows(readOnly.Get(), kProgram, true));
    EXPECT_FALSE(StoredValue().has_value());
    EXPECT_FALSE(StartsWithWindows(readOnly.Get(), kProgram));

    Store(L"\"C:\\Program Files\\Sonobar\\sonobar.exe\"");
    EXPECT_FALSE(SetStartWithWindows(readOnly.Get(), kProgram, false));
    EXPECT_TRUE(StartsWithWindows(readOnly.Get(), kProgram));
    EXPECT_FALSE(SetStartWithWindows(nullptr, kProgram, true)) << "no key at all";
}
