#include "app/StartWithWindows.h"

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

} // namespace

std::wstring RunValueFor(const std::wstring& wstrProgramPath)
{
    return L"\"" + wstrProgramPath + L"\"";
}

bool StartsProgram(const std::wstring& wstrRunValue, const std::wstring& wstrProgramPath)
{
    return !wstrProgramPath.empty() &&
           ::lstrcmpiW(wstrRunValue.c_str(), RunValueFor(wstrProgramPath).c_str()) == 0;
}

CScopedRegKey OpenRunKey()
{
    HKEY hKey = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                          &hKey, nullptr) == ERROR_SUCCESS)
        return CScopedRegKey(hKey);
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &hKey) == ERROR_SUCCESS)
        return CScopedRegKey(hKey);
    return {};
}

bool StartsWithWindows(HKEY hRun, const std::wstring& wstrProgramPath)
{
    DWORD dwType = 0;
    DWORD cbValue = 0;
    if (!hRun ||
        ::RegQueryValueExW(hRun, kRunValueName, nullptr, &dwType, nullptr, &cbValue) != ERROR_SUCCESS ||
        (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return false;
    // A stored string need not end in a null: room for one more, and the value cut at the first.
    std::wstring wstrValue(cbValue / sizeof(wchar_t) + 1, L'\0');
    cbValue = static_cast<DWORD>(wstrValue.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(hRun, kRunValueName, nullptr, nullptr, reinterpret_cast<BYTE*>(wstrValue.data()),
                           &cbValue) != ERROR_SUCCESS)
        return false;
    wstrValue.resize(wstrValue.find(L'\0'));
    return StartsProgram(wstrValue, wstrProgramPath);
}

bool SetStartWithWindows(HKEY hRun, const std::wstring& wstrProgramPath, bool bOn)
{
    if (!hRun || wstrProgramPath.empty())
        return false;
    if (!bOn) {
        const LONG nResult = ::RegDeleteValueW(hRun, kRunValueName);
        return nResult == ERROR_SUCCESS || nResult == ERROR_FILE_NOT_FOUND;
    }
    const std::wstring wstrValue = RunValueFor(wstrProgramPath);
    return ::RegSetValueExW(hRun, kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(wstrValue.c_str()),
                            static_cast<DWORD>((wstrValue.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}
