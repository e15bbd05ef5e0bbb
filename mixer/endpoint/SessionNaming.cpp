#include "mixer/endpoint/SessionNaming.h"

#include "fw/ScopedHandles.h"
#include "fw/SystemLibrary.h"

#include <vector>

namespace {

// Not in XP's kernel32: asked for by name. PROCESS_QUERY_LIMITED_INFORMATION (Vista and later)
// opens processes of other users and elevated ones, which PROCESS_QUERY_INFORMATION may not.
constexpr DWORD kQueryLimitedInformation = 0x1000;
using QueryFullProcessImageNameWFunction = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
using SHLoadIndirectStringFunction = HRESULT(WINAPI*)(LPCWSTR, LPWSTR, UINT, void**);
using GetFileVersionInfoSizeWFunction = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using GetFileVersionInfoWFunction = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using VerQueryValueWFunction = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

std::wstring FileNameWithoutExe(const std::wstring& strPath)
{
    std::wstring strName = strPath.substr(strPath.find_last_of(L"\\/") + 1);
    // Compared by hand: lstrcmpiW would be one more import to check on XP.
    std::wstring strEnd = strName.size() > 4 ? strName.substr(strName.size() - 4) : std::wstring();
    for (wchar_t& ch : strEnd)
        ch = ch >= L'A' && ch <= L'Z' ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
    if (strEnd == L".exe")
        strName.resize(strName.size() - 4);
    return strName;
}

} // namespace

std::wstring SessionName(const SSessionNameFacts& facts)
{
    if (!facts.strDisplayName.empty() && !IsIndirectString(facts.strDisplayName))
        return facts.strDisplayName;
    if (!facts.strResolvedName.empty())
        return facts.strResolvedName;
    if (facts.bSystemSounds)
        return L"System Sounds";
    if (!facts.strDescription.empty())
        return facts.strDescription;
    if (!facts.strProgramPath.empty())
        return FileNameWithoutExe(facts.strProgramPath);
    return L"Name Not Available";
}

bool IsIndirectString(const std::wstring& str)
{
    return !str.empty() && str[0] == L'@';
}

std::wstring ResolveIndirectString(const std::wstring& str)
{
    const CSystemLibrary shlwapi("shlwapi.dll");
    const auto pfnLoad = shlwapi.Find<SHLoadIndirectStringFunction>("SHLoadIndirectString");
    wchar_t szText[256] = {};
    if (pfnLoad == nullptr || FAILED(pfnLoad(str.c_str(), szText, 256, nullptr)))
        return {};
    return szText;
}

std::wstring ProgramPathOf(DWORD dwProcessId)
{
    const CSystemLibrary kernel32("kernel32.dll");
    const auto pfnQuery = kernel32.Find<QueryFullProcessImageNameWFunction>("QueryFullProcessImageNameW");
    if (pfnQuery == nullptr || dwProcessId == 0)
        return {};
    const CScopedKernelHandle hProcess(::OpenProcess(kQueryLimitedInformation, FALSE, dwProcessId));
    if (!hProcess)
        return {};
    wchar_t szPath[MAX_PATH * 2] = {};
    DWORD cch = MAX_PATH * 2;
    const bool bFound = pfnQuery(hProcess.Get(), 0, szPath, &cch) != FALSE;
    return bFound ? std::wstring(szPath, cch) : std::wstring();
}

std::wstring FileDescriptionOf(const std::wstring& strPath)
{
    const CSystemLibrary version("version.dll");
    const auto pfnSize = version.Find<GetFileVersionInfoSizeWFunction>("GetFileVersionInfoSizeW");
    const auto pfnInfo = version.Find<GetFileVersionInfoWFunction>("GetFileVersionInfoW");
    const auto pfnQuery = version.Find<VerQueryValueWFunction>("VerQueryValueW");
    if (pfnSize == nullptr || pfnInfo == nullptr || pfnQuery == nullptr)
        return {};
    DWORD dwIgnored = 0;
    const DWORD cb = pfnSize(strPath.c_str(), &dwIgnored);
    std::vector<BYTE> info(cb);
    if (cb == 0 || !pfnInfo(strPath.c_str(), 0, cb, info.data()))
        return {};
    // The string tables are named by language and code page, the first pair of the translations.
    WORD* pTranslation = nullptr;
    UINT cbTranslation = 0;
    if (!pfnQuery(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<LPVOID*>(&pTranslation),
                  &cbTranslation) ||
        cbTranslation < 2 * sizeof(WORD))
        return {};
    const wchar_t* const pszHex = L"0123456789abcdef";
    std::wstring strKey = L"\\StringFileInfo\\";
    for (const WORD w : {pTranslation[0], pTranslation[1]})
        for (int nShift = 12; nShift >= 0; nShift -= 4)
            strKey += pszHex[(w >> nShift) & 0xF];
    strKey += L"\\FileDescription";
    wchar_t* pszDescription = nullptr;
    UINT cchDescription = 0;
    if (!pfnQuery(info.data(), strKey.c_str(), reinterpret_cast<LPVOID*>(&pszDescription), &cchDescription) ||
        pszDescription == nullptr)
        return {};
    return pszDescription;
}

SSessionNameFacts NameFactsOf(const std::wstring& strDisplayName, DWORD dwProcessId, bool bSystemSounds)
{
    SSessionNameFacts facts;
    SetDisplayName(facts, strDisplayName);
    facts.bSystemSounds = bSystemSounds;
    facts.strProgramPath = ProgramPathOf(dwProcessId);
    if (!facts.strProgramPath.empty())
        facts.strDescription = FileDescriptionOf(facts.strProgramPath);
    return facts;
}

void SetDisplayName(SSessionNameFacts& facts, const std::wstring& strDisplayName)
{
    facts.strDisplayName = strDisplayName;
    facts.strResolvedName = IsIndirectString(strDisplayName) ? ResolveIndirectString(strDisplayName) : L"";
}
