#include "fw/RegistryProfile.h"

#include "fw/ScopedHandles.h"

namespace {

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

CScopedRegKey CreateSubKey(HKEY hParent, const char* pszName)
{
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(hParent, pszName, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWrite, nullptr, &hKey,
                          nullptr) != ERROR_SUCCESS)
        return CScopedRegKey();
    return CScopedRegKey(hKey);
}

} // namespace

CRegistryProfile::CRegistryProfile(std::string strCompany, std::string strApplication)
    : m_strCompany(std::move(strCompany)), m_strApplication(std::move(strApplication))
{
}

std::string CRegistryProfile::ApplicationKeyPath() const
{
    return "Software\\" + m_strCompany + "\\" + m_strApplication;
}

std::optional<DWORD> CRegistryProfile::ReadInt(const char* pszSection, const char* pszEntry) const
{
    const CScopedRegKey section(OpenSection(pszSection));
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
    const CScopedRegKey section(OpenSection(pszSection));
    if (!section)
        return FALSE;
    return ::RegSetValueExA(section.Get(), pszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                            sizeof dwValue) == ERROR_SUCCESS;
}

HKEY CRegistryProfile::OpenSection(const char* pszSection) const
{
    // 1. "Software" must exist; the keys below it are created when missing.
    HKEY hSoftware = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, kReadWrite, &hSoftware) != ERROR_SUCCESS)
        return nullptr;
    const CScopedRegKey software(hSoftware);
    // 2. Company, application and section, each opened from the one before.
    const CScopedRegKey company = CreateSubKey(software.Get(), m_strCompany.c_str());
    if (!company)
        return nullptr;
    const CScopedRegKey application = CreateSubKey(company.Get(), m_strApplication.c_str());
    if (!application)
        return nullptr;
    CScopedRegKey section = CreateSubKey(application.Get(), pszSection);
    return section.Detach();
}
