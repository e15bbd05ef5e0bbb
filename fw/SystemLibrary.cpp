#include "fw/SystemLibrary.h"

#include <string>

namespace {

// A bare name is looked for in the program's own folder first, so a DLL that someone placed
// beside sonobar.exe would run inside it. With the altered search path, the library's own
// dependencies are looked for beside it, in the system directory, as well.
HMODULE LoadFromSystemDirectory(const char* pszFileName)
{
    char szDirectory[MAX_PATH];
    const UINT cch = ::GetSystemDirectoryA(szDirectory, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH)
        return nullptr;
    const std::string strPath = std::string(szDirectory, cch) + "\\" + pszFileName;
    return ::LoadLibraryExA(strPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

CSystemLibrary::CSystemLibrary(const char* pszFileName) : m_hModule(LoadFromSystemDirectory(pszFileName))
{
}
