// Starting with Windows: which Run values count as this program file's, and the value written,
// deleted and, where the registry refuses, left as it was. Against a key of the test's own.
#include "app/StartWithWindows.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

const wchar_t kTestKey[] = L"Software\\Quillmark\\Sonobar Test Run";
const wchar_t kTestApprovalKey[] = L"Software\\Quillmark\\Sonobar Test Approval";
const wchar_t kProgram[] = L"C:\\Program Files\\Sonobar\\sonobar.exe";
const wchar_t kRunValue[] = L"\"C:\\Program Files\\Sonobar\\sonobar.exe\"";
// A blank and a non-ASCII letter, which the path keeps through the wide registry functions.
const wchar_t kMusicProgram[] = L"C:\\M\u00fcsik Tools\\sonobar.exe";

// The test's stand-in for the Run key (or the approval key), opened with the access given, and
// deleted after.
class CTestRunKey {
public:
    explicit CTestRunKey(REGSAM access = KEY_QUERY_VALUE | KEY_SET_VALUE, const wchar_t* pszKey = kTestKey)
        : m_pszKey(pszKey)
    {
        HKEY hKey = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, pszKey, 0, nullptr, 0, access, nullptr, &hKey, nullptr);
        m_key.Reset(hKey);
    }
    ~CTestRunKey() { ::RegDeleteKeyW(HKEY_CURRENT_USER, m_pszKey); }
    CTestRunKey(const CTestRunKey&) = delete;
    CTestRunKey& operator=(const CTestRunKey&) = delete;

    HKEY Get() const { return m_key.Get(); }

private:
    const wchar_t* const m_pszKey;
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

void Store(const wchar_t* pszValue, DWORD dwType = REG_SZ)
{
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kTestKey, kRunValueName, dwType, pszValue,
                      static_cast<DWORD>((::lstrlenW(pszValue) + 1) * sizeof(wchar_t)));
}

} // namespace

// The approval value: Task Manager's marker DWORD and the FILETIME of when the entry was turned
// off. Whatever the keys held, choosing the entry makes it start.
TEST(StartWithWindowsTest, OnlyTheQuotedPathOfThisVeryFileWithNoRoleWordAndNoDisabledMarkCounts)
{
    const struct {
        const wchar_t* pszStored;
        const wchar_t* pszProgram;
        bool bOn;
        std::vector<BYTE> approval = {};
        DWORD dwType = REG_SZ;
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
        {L"\"C:\\M\u00dcSIK TOOLS\\SONOBAR.EXE\"", kMusicProgram, true},
        // Letters that the user's language takes for others still name other files.
        {L"\"C:\\Program Files\\Sonobar\\Stra\u00dfe\\sonobar.exe\"",
         L"C:\\Program Files\\Sonobar\\Strasse\\sonobar.exe", false},
        {L"\"C:\\Program Files\\Sonobar\\sono\u00adbar.exe\"", kProgram, false},
        {L"\"%SystemDrive%\\Program Files\\Sonobar\\sonobar.exe\"", kProgram, true, {}, REG_EXPAND_SZ},
        {kRunValue, kProgram, true, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {kRunValue, kProgram, true, {6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {kRunValue, kProgram, false, {3, 0, 0, 0, 0xd4, 0x0d, 0x43, 0x8d, 0xc8, 0x3b, 0xd9, 0x01}},
        {kRunValue, kProgram, false, {7, 0, 0, 0, 0x10, 0, 0, 0, 0, 0, 0, 0}},
        // Markers that Windows does not write are not taken to mean that the entry runs.
        {kRunValue, kProgram, false, {2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {kRunValue, kProgram, false, {2}},
        {nullptr, kProgram, false, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const CTestRunKey key;
        const CTestRunKey approval(KEY_QUERY_VALUE | KEY_SET_VALUE, kTestApprovalKey);
        if (c.pszStored)
            Store(c.pszStored, c.dwType);
        if (!c.approval.empty())
            ::RegSetKeyValueW(HKEY_CURRENT_USER, kTestApprovalKey, kRunValueName, REG_BINARY,
                              c.approval.data(), static_cast<DWORD>(c.approval.size()));
        EXPECT_EQ(c.bOn, StartsWithWindows(key.Get(), approval.Get(), c.pszProgram))
            << (c.pszStored ? "stored" : "nothing stored") << ", case " << (&c - cases);
        EXPECT_TRUE(SetStartWithWindows(key.Get(), approval.Get(), c.pszProgram, true))
            << "case " << (&c - cases);
        EXPECT_TRUE(StartsWithWindows(key.Get(), approval.Get(), c.pszProgram))
            << "chosen, case " << (&c - cases);
    }
}

TEST(StartWithWindowsTest, ChoosingItWritesThePathAndChoosingItAgainDeletesIt)
{
    const CTestRunKey key;
    for (const wchar_t* pszProgram : {kProgram, kMusicProgram}) {
        ASSERT_TRUE(SetStartWithWindows(key.Get(), nullptr, pszProgram, true));
        EXPECT_EQ(L"\"" + std::wstring(pszProgram) + L"\"", StoredValue().value_or(L"(none)"));
        EXPECT_TRUE(StartsWithWindows(key.Get(), nullptr, pszProgram));
        ASSERT_TRUE(SetStartWithWindows(key.Get(), nullptr, pszProgram, false));
        EXPECT_FALSE(StoredValue().has_value());
        EXPECT_TRUE(SetStartWithWindows(key.Get(), nullptr, pszProgram, false)) << "nothing left to delete";
    }
    // A moved program takes the value over.
    Store(L"\"D:\\Old Place\\sonobar.exe\"");
    ASSERT_TRUE(SetStartWithWindows(key.Get(), nullptr, kProgram, true));
    EXPECT_TRUE(StartsWithWindows(key.Get(), nullptr, kProgram));
}

TEST(StartWithWindowsTest, ARefusedWriteOrDeleteLeavesTheValueAsItWas)
{
    const CTestRunKey writable;
    const CTestRunKey readOnly(KEY_QUERY_VALUE);
    EXPECT_FALSE(SetStartWithWindows(readOnly.Get(), nullptr, kProgram, true));
    EXPECT_FALSE(StoredValue().has_value());
    EXPECT_FALSE(StartsWithWindows(readOnly.Get(), nullptr, kProgram));

    Store(L"\"C:\\Program Files\\Sonobar\\sonobar.exe\"");
    EXPECT_FALSE(SetStartWithWindows(readOnly.Get(), nullptr, kProgram, false));
    EXPECT_TRUE(StartsWithWindows(readOnly.Get(), nullptr, kProgram));
    EXPECT_FALSE(SetStartWithWindows(nullptr, nullptr, kProgram, true)) << "no key at all";
}
