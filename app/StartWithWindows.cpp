#include "app/StartWithWindows.h"

#include <cstring>

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kApprovalKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The approval value: a DWORD saying whether the entry runs, then the FILETIME when it was turned
// off. Windows writes 2 or 6 for an entry that runs and 3 or 7 for one turned off; any other
// marker is of a Windows yet to come and is not taken to mean that the entry runs.
constexpr DWORD kApprovedMarkers[] = {2, 6};
constexpr DWORD kApprovalSize = sizeof(DWORD) + sizeof(FILETIME);

// The value's text, with its environment variables expanded for REG_EXPAND_SZ; empty when it is
// not text at all.
std::wstring StoredText(HKEY hKey, const wchar_t* pszName)
{
    DWORD dwType = 0;
    DWORD cbValue = 0;
    if (::RegQueryValueExW(hKey, pszName, nullptr, &dwType, nullptr, &cbValue) != ERROR_SUCCESS ||
        (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return {};
    // A stored string need not end in a null: room for one more, and the value cut at the first.
    std::wstring wstrValue(cbValue / sizeof(wchar_t) + 1, L'\0');
    cbValue = static_cast<DWORD>(wstrValue.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(hKey, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(wstrValue.data()),
                           &cbValue) != ERROR_SUCCESS)
        return {};
    wstrValue.resize(wstrValue.find(L'\0'));
    if (dwType == REG_SZ)
        return wstrValue;
    const DWORD cchExpanded = ::ExpandEnvironmentStringsW(wstrValue.c_str(), nullptr, 0);
    std::wstring wstrExpanded(cchExpanded, L'\0');
    if (cchExpanded == 0 ||
        ::ExpandEnvironmentStringsW(wstrValue.c_str(), wstrExpanded.data(), cchExpanded) == 0)
        return {};
    wstrExpanded.resize(wstrExpanded.find(L'\0'));
    return wstrExpanded;
}

// Without the approval value the Run value counts alone; a value that cannot be read, or is not
// of the form that Windows writes, keeps Windows from running the entry as far as we can know.
bool Approved(HKEY hApproval)
{
    if (!hApproval)
        return true;
    BYTE abValue[kApprovalSize] = {};
    DWORD dwType = 0;
    DWORD cbValue = sizeof abValue;
    const LONG nResult = ::RegQueryValueExW(hApproval, kRunValueName, nullptr, &dwType, abValue, &cbValue);
    if (nResult == ERROR_FILE_NOT_FOUND)
        return true;
    DWORD dwMarker = 0;
    if (nResult != ERROR_SUCCESS || dwType != REG_BINARY || cbValue < sizeof dwMarker)
        return false;
    std::memcpy(&dwMarker, abValue, sizeof dwMarker);
    for (const DWORD dwApproved : kApprovedMarkers)
        if (dwMarker == dwApproved)
            return true;
    return false;
}

// Upper case by the invariant table, one character for one: two paths that differ in anything
// but letter case name two files, whatever the user's language says about them.
std::wstring OrdinalUpperCase(const std::wstring& wstr)
{
    std::wstring wstrUpper(wstr.size(), L'\0');
    const int cch = static_cast<int>(wstr.size());
    if (cch > 0 &&
        ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wstr.data(), cch, wstrUpper.data(), cch) != cch)
        return wstr;
    return wstrUpper;
}

CScopedRegKey OpenUserKey(const wchar_t* pszPath, bool bCreate)
{
    HKEY hKey = nullptr;
    const REGSAM access = KEY_QUERY_VALUE | KEY_SET_VALUE;
    if ((bCreate
             ? ::RegCreateKeyExW(HKEY_CURRENT_USER, pszPath, 0, nullptr, 0, access, nullptr, &hKey, nullptr)
             : ::RegOpenKeyExW(HKEY_CURRENT_USER, pszPath, 0, access, &hKey)) == ERROR_SUCCESS)
        return CScopedRegKey(hKey);
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, pszPath, 0, KEY_QUERY_VALUE, &hKey) == ERROR_SUCCESS)
        return CScopedRegKey(hKey);
    return {};
}

bool Deleted(LONG nResult)
{
    return nResult == ERROR_SUCCESS || nResult == ERROR_FILE_NOT_FOUND;
}

} // namespace

std::wstring RunValueFor(const std::wstring& wstrProgramPath)
{
    return L"\"" + wstrProgramPath + L"\"";
}

bool StartsProgram(const std::wstring& wstrRunValue, const std::wstring& wstrProgramPath)
{
    return !wstrProgramPath.empty() &&
           OrdinalUpperCase(wstrRunValue) == OrdinalUpperCase(RunValueFor(wstrProgramPath));
}

CScopedRegKey OpenRunKey()
{
    return OpenUserKey(kRunKey, true);
}

CScopedRegKey OpenApprovalKey()
{
    return OpenUserKey(kApprovalKey, false);
}

bool StartsWithWindows(HKEY hRun, HKEY hApproval, const std::wstring& wstrProgramPath)
{
    return hRun && StartsProgram(StoredText(hRun, kRunValueName), wstrProgramPath) && Approved(hApproval);
}

bool SetStartWithWindows(HKEY hRun, HKEY hApproval, const std::wstring& wstrProgramPath, bool bOn)
{
    if (!hRun || wstrProgramPath.empty())
        return false;
    if (!bOn)
        return Deleted(::RegDeleteValueW(hRun, kRunValueName));
    // A mark other than "runs" is taken away: without one, Windows runs the entry.
    const std::wstring wstrValue = RunValueFor(wstrProgramPath);
    return ::RegSetValueExW(hRun, kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(wstrValue.c_str()),
                            static_cast<DWORD>((wstrValue.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
           (Approved(hApproval) || Deleted(::RegDeleteValueW(hApproval, kRunValueName)));
}
