// Integer and text settings in the registry: defaults, key creation, values of the wrong type and a section
// that may be read but not written.
#include "fw/AnsiText.h"
#include "fw/RegistryProfile.h"
#include "fw/ScopedHandles.h"

#include <gtest/gtest.h>

#include <sddl.h>

namespace {

const char kCompany[] = "SonobarTests";
const char kApplication[] = "Profile";

class RegistryProfileTest : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SonobarTests"); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SonobarTests"); }

    static void Store(const char* pszEntry, DWORD dwType, const void* pData, DWORD cbData)
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\SonobarTests\\Profile\\Settings", 0,
                                    nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr));
        const CScopedRegKey key(hKey);
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegSetValueExA(key.Get(), pszEntry, 0, dwType, static_cast<const BYTE*>(pData), cbData));
    }

    static bool SectionExists()
    {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\SonobarTests\\Profile\\Settings", 0, KEY_READ,
                            &hKey) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(hKey);
        return true;
    }

    CRegistryProfile m_profile{kCompany, kApplication};
};

TEST_F(RegistryProfileTest, MissingValueReadsAsAbsentAndTheReadCreatesTheKeyPath)
{
    EXPECT_FALSE(SectionExists());
    EXPECT_FALSE(m_profile.ReadInt("Settings", "X Coordinate").has_value());
    EXPECT_TRUE(SectionExists());
}

TEST_F(RegistryProfileTest, WrittenNumbersComeBackWithAllTheirBits)
{
    const DWORD values[] = {0, 1, 0x7FFFFFFF, 0x80000000, static_cast<DWORD>(-5)};
    for (DWORD dwValue : values) {
        EXPECT_TRUE(m_profile.WriteInt("Settings", "Value", dwValue));
        EXPECT_EQ(dwValue, m_profile.ReadInt("Settings", "Value"));
    }
}

TEST_F(RegistryProfileTest, ValuesOfAnotherTypeReadAsAbsent)
{
    Store("Text", REG_SZ, "12", 3);
    const BYTE binary[4] = {1, 0, 0, 0};
    Store("Binary", REG_BINARY, binary, sizeof binary);
    const WORD shortValue = 7;
    Store("Short", REG_DWORD, &shortValue, sizeof shortValue);
    const BYTE longValue[8] = {3, 0, 0, 0, 0, 0, 0, 0};
    Store("Long", REG_DWORD, longValue, sizeof longValue);
    const DWORD goodValue = 42;
    Store("Good", REG_DWORD, &goodValue, sizeof goodValue);

    for (const char* pszEntry : {"Text", "Binary", "Short", "Long"})
        EXPECT_FALSE(m_profile.ReadInt("Settings", pszEntry).has_value()) << pszEntry;
    EXPECT_EQ(42u, m_profile.ReadInt("Settings", "Good"));
}

TEST_F(RegistryProfileTest, TextsComeBackAsWrittenAndOthersReadAsAbsent)
{
    for (const std::string& strText :
         {std::string(), std::string("Mozilla Firefox"), std::string(260, 'x')}) {
        EXPECT_TRUE(m_profile.WriteWideText("Settings", "Text", ToWide(strText)));
        EXPECT_EQ(m_profile.ReadText("Settings", "Text"), strText);
    }
    EXPECT_FALSE(m_profile.WriteWideText("Settings", "Text", std::wstring(261, L'y')));
    const DWORD dwNumber = 42;
    Store("Number", REG_DWORD, &dwNumber, sizeof dwNumber);
    Store("Long", REG_SZ, std::string(300, 'z').c_str(), 301);
    Store("Unended", REG_SZ, "abc", 3);
    for (const char* pszEntry : {"Number", "Long", "Missing"})
        EXPECT_FALSE(m_profile.ReadText("Settings", pszEntry).has_value()) << pszEntry;
    EXPECT_EQ(m_profile.ReadText("Settings", "Unended"), "abc");
}

TEST_F(RegistryProfileTest, ReadOnlySectionIsReadAndARefusedWriteChangesNothing)
{
    const DWORD dwStored = 500;
    Store("X Coordinate", REG_DWORD, &dwStored, sizeof dwStored);
    // Everyone may read the section (and delete it, for the tear-down), nobody may write to it.
    PSECURITY_DESCRIPTOR pReadOnly = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;0x70019;;;WD)",
                                                                       SDDL_REVISION_1, &pReadOnly, nullptr));
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\SonobarTests\\Profile\\Settings", 0,
                                  WRITE_DAC, &hKey));
        const CScopedRegKey key(hKey);
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, pReadOnly));
    }
    ::LocalFree(pReadOnly);

    EXPECT_EQ(500u, m_profile.ReadInt("Settings", "X Coordinate"));
    EXPECT_FALSE(m_profile.WriteInt("Settings", "X Coordinate", 7));
    EXPECT_FALSE(m_profile.WriteInt("Settings", "Y Coordinate", 7));
    EXPECT_EQ(500u, m_profile.ReadInt("Settings", "X Coordinate"));
    EXPECT_FALSE(m_profile.ReadInt("Settings", "Y Coordinate").has_value());
}

} // namespace
