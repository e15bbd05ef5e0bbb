#include "ScreenSettings.h"

CUserValues::CUserValues(const char* pszKey)
{
    ::RegCreateKeyExA(HKEY_CURRENT_USER, pszKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_hKey,
                      nullptr);
}

CUserValues::~CUserValues()
{
    // Last set, first restored: a value set twice gets its first old value back.
    for (auto it = m_vecOld.rbegin(); it != m_vecOld.rend(); ++it) {
        if (it->bExisted)
            ::RegSetValueExA(m_hKey, it->strName.c_str(), 0, it->dwType, it->data.data(),
                             static_cast<DWORD>(it->data.size()));
        else
            ::RegDeleteValueA(m_hKey, it->strName.c_str());
    }
    ::RegCloseKey(m_hKey);
}

void CUserValues::Set(const char* pszName, DWORD dwType, const void* pData, DWORD cbData)
{
    SOldValue old{pszName, false, 0, std::vector<BYTE>(1024)};
    DWORD cbOld = static_cast<DWORD>(old.data.size());
    if (::RegQueryValueExA(m_hKey, pszName, nullptr, &old.dwType, old.data.data(), &cbOld) == ERROR_SUCCESS) {
        old.bExisted = true;
        old.data.resize(cbOld);
    }
    m_vecOld.push_back(std::move(old));
    ::RegSetValueExA(m_hKey, pszName, 0, dwType, static_cast<const BYTE*>(pData), cbData);
}

CDisplayDpi::CDisplayDpi(DWORD dwDpi) : m_values("Control Panel\\Desktop")
{
    m_values.Set("LogPixels", REG_DWORD, &dwDpi, sizeof dwDpi);
}

CHighContrastBlack::CHighContrastBlack() : m_values("Control Panel\\Colors")
{
    static const std::pair<const char*, const char*> kColours[] = {
        {"ActiveBorder", "255 255 0"},
        {"ActiveTitle", "128 0 128"},
        {"AppWorkspace", "0 0 0"},
        {"Background", "0 0 0"},
        {"ButtonAlternateFace", "0 0 0"},
        {"ButtonDkShadow", "255 255 255"},
        {"ButtonFace", "0 0 0"},
        {"ButtonHilight", "255 255 255"},
        {"ButtonLight", "192 192 192"},
        {"ButtonShadow", "128 128 128"},
        {"ButtonText", "255 255 255"},
        {"GrayText", "0 255 0"},
        {"Hilight", "128 0 128"},
        {"HilightText", "255 255 255"},
        {"HotTrackingColor", "128 128 255"},
        {"InactiveBorder", "0 128 0"},
        {"InactiveTitle", "0 128 0"},
        {"InactiveTitleText", "255 255 255"},
        {"InfoText", "255 255 255"},
        {"InfoWindow", "0 0 0"},
        {"Menu", "0 0 0"},
        {"MenuBar", "0 0 0"},
        {"MenuHilight", "128 0 128"},
        {"MenuText", "255 255 255"},
        {"Scrollbar", "0 0 0"},
        {"TitleText", "255 255 255"},
        {"Window", "0 0 0"},
        {"WindowFrame", "255 255 255"},
        {"WindowText", "255 255 255"},
    };
    for (const auto& [pszName, pszColour] : kColours)
        m_values.Set(pszName, REG_SZ, pszColour,
                     static_cast<DWORD>(std::char_traits<char>::length(pszColour) + 1));
}
