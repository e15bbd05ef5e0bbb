#include "fw/RegistryProfile.h"

#include "fw/AnsiText.h"

namespace {

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

// The key pszName below hParent with the access asked for; created first when bCreate is set and
// it is missing.
CScopedRegKey OpenSubKey(HKEY hParent, const char* pszName, REGSAM samDesired, bool bCreate)
{
    HKEY hKey = nullptr;
    const LONG lResult = bCreate ? ::RegCreateKeyExA(hParent, pszName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                     samDesired, nullptr, &hKey, nullptr)
                                 : ::RegOpenKeyExA(hParent, pszName, 0, samDesired, &hKey);
    return lResult == ERROR_SUCCESS ? CScopedRegKey(hKey) : CScopedRegKey();
}

} // namespace

CRegistryProfile::CRegistryProfile(std::string strCompany, std::string strApplication)
    : m_strCompany(std::move(strCompany)), m_strApplication(std::move(strApplication))
{
}

CScopedRegKey CRegistryProfile::OpenForReading(const char* pszSection) const
{
    // Reading asks for read access only: a section that may be read but not written is read. The
    // path is opened in one call, not key by key: a start reads a dozen settings, and under Wine
    // each call to the registry is a round trip to its server.
    const std::string strSection = "Software\\" + m_strCompany + "\\" + m_strApplication + "\\" + pszSection;
    CScopedRegKey section = OpenSubKey(HKEY_CURRENT_USER, strSection.c_str(), KEY_READ, false);
    // A missing path is made on the first read as on the first write.
    if (!section)
        OpenSection(pszSection);
    return section;
}

std::optional<DWORD> CRegistryProfile::ReadInt(const char* pszSection, const char* pszEntry) const
{
    const CScopedRegKey section = OpenForReading(pszSection);
    if (!section)
        return std::nullopt;
    DWORD dwType = 0;
    DWORD dwValue = 0;
    DWORD cbValue = sizeof dwValue;
    const LONG lResult = ::RegQueryValueExA(section.Get(), pszEntry, nullptr, &dwType,
                                            reinterpret_cast<BYTE*>(&dwValue), &cbValue);
    if (lResult != ERROR_SUCCESS || dwType != REG_DWORD || cbValue != sizeof dwValue)
        return std::nullopt;
    return dwValue;
}

BOOL CRegistryProfile::WriteInt(const char* pszSection, const char* pszEntry, DWORD dwValue) const
{
    // A section that may not be written refuses the whole write: the stored value stays as it was.
    const CScopedRegKey section(OpenSection(pszSection));
    if (!section)
        return FALSE;
    return ::RegSetValueExA(section.Get(), pszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                            sizeof dwValue) == ERROR_SUCCESS;
}

std::optional<std::string> CRegistryProfile::ReadText(const char* pszSection, const char* pszEntry) const
{
    const auto value = ReadWideText(pszSection, pszEntry);
    return value ? std::optional(ToAnsi(*value)) : std::nullopt;
}

std::optional<std::wstring> CRegistryProfile::ReadWideText(const char* pszSection, const char* pszEntry) const
{
    const CScopedRegKey section = OpenForReading(pszSection);
    if (!section)
        return std::nullopt;
    DWORD dwType = 0;
    // Room for the text and its terminator, and one character more that the read never fills, so
    // that a text stored without its terminator still ends.
    wchar_t szValue[kMaxText + 2] = {};
    DWORD cbValue = (kMaxText + 1) * sizeof(wchar_t);
    if (::RegQueryValueExW(section.Get(), ToWide(pszEntry).c_str(), nullptr, &dwType,
                           reinterpret_cast<BYTE*>(szValue), &cbValue) != ERROR_SUCCESS ||
        dwType != REG_SZ)
        return std::nullopt;
    return std::wstring(szValue);
}

BOOL CRegistryProfile::WriteWideText(const char* pszSection, const char* pszEntry,
                                     const std::wstring& wstrValue) const
{
    const CScopedRegKey section(OpenSection(pszSection));
    if (!section || wstrValue.size() > kMaxText)
        return FALSE;
    return ::RegSetValueExW(section.Get(), ToWide(pszEntry).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(wstrValue.c_str()),
                            static_cast<DWORD>((wstrValue.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

CScopedRegKey CRegistryProfile::OpenSection(const char* pszSection) const
{
    // 1. "Software" must exist; the keys below it may be created.
    const CScopedRegKey software = OpenSubKey(HKEY_CURRENT_USER, "Software", kReadWrite, false);
    if (!software)
        return {};
    // 2. Company, application and section, each opened from the one before.
    const CScopedRegKey company = OpenSubKey(software.Get(), m_strCompany.c_str(), kReadWrite, true);
    if (!company)
        return {};
    const CScopedRegKey application = OpenSubKey(company.Get(), m_strApplication.c_str(), kReadWrite, true);
    if (!application)
        return {};
    return OpenSubKey(application.Get(), pszSection, kReadWrite, true);
}
