// The shipped program as users receive it: small and without symbols, file properties that name
// the product, the company and the version, a manifest that runs it as the invoking user on
// every Windows since Vista with the classic controls and the system's scaling; and it starts.
#include "BarProcess.h"
#include "res/version.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::string BuiltProgram(const std::string& strName)
{
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const std::string strPath = szPath;
    return strPath.substr(0, strPath.find_last_of("\\/") + 1) + strName;
}

struct PortableExecutable {
    size_t cbFile = 0;
    DWORD nSymbols = 0;
    DWORD dwSymbolTable = 0;
};

// The size and the COFF symbol table of a program file; false when it is no PE file.
bool ReadPortableExecutable(const std::string& strPath, PortableExecutable& pe)
{
    std::ifstream file(strPath, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return false;
    IMAGE_DOS_HEADER dos{};
    std::memcpy(&dos, bytes.data(), sizeof dos);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0 ||
        bytes.size() < static_cast<size_t>(dos.e_lfanew) + sizeof(IMAGE_NT_HEADERS32))
        return false;
    IMAGE_NT_HEADERS32 nt{};
    std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof nt);
    if (nt.Signature != IMAGE_NT_SIGNATURE)
        return false;
    pe.cbFile = bytes.size();
    pe.nSymbols = nt.FileHeader.NumberOfSymbols;
    pe.dwSymbolTable = nt.FileHeader.PointerToSymbolTable;
    return true;
}

TEST(ReleaseBuildTest, TheShippedProgramIsSmallAndStrippedWhileTheTestBuildKeepsItsSymbols)
{
    const struct {
        const char* pszProgram;
        bool bStripped;
        size_t cbMost;
    } cases[] = {
        // Each program's own volume (its audio sessions) took the program from 291 KB to 322 KB;
        // its own stand-ins for the library's throwing helpers, which keep the library's old string
        // out, to 237 KB.
        {"sonobar.exe", true, 300 * 1024},
        {"sonobar-sim.exe", false, SIZE_MAX},
    };
    for (const auto& c : cases) {
        PortableExecutable pe;
        ASSERT_TRUE(ReadPortableExecutable(BuiltProgram(c.pszProgram), pe)) << c.pszProgram;
        EXPECT_LE(pe.cbFile, c.cbMost) << c.pszProgram;
        EXPECT_EQ(pe.nSymbols == 0 && pe.dwSymbolTable == 0, c.bStripped)
            << c.pszProgram << ": " << pe.nSymbols << " symbols";
    }
}

TEST(ReleaseBuildTest, FilePropertiesNameTheProductTheCompanyAndTheProjectVersion)
{
    const std::string strPath = BuiltProgram("sonobar.exe");
    DWORD dwIgnored = 0;
    const DWORD cbInfo = ::GetFileVersionInfoSizeA(strPath.c_str(), &dwIgnored);
    ASSERT_GT(cbInfo, 0u);
    std::vector<BYTE> info(cbInfo);
    ASSERT_TRUE(::GetFileVersionInfoA(strPath.c_str(), 0, cbInfo, info.data()));

    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT cbFixed = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&pFixed), &cbFixed));
    ASSERT_EQ(cbFixed, sizeof(VS_FIXEDFILEINFO));
    const DWORD dwVersionMS = MAKELONG(SONOBAR_VERSION_MINOR, SONOBAR_VERSION_MAJOR);
    const DWORD dwVersionLS = MAKELONG(0, SONOBAR_VERSION_PATCH);
    EXPECT_EQ(pFixed->dwFileVersionMS, dwVersionMS);
    EXPECT_EQ(pFixed->dwFileVersionLS, dwVersionLS);
    EXPECT_EQ(pFixed->dwProductVersionMS, dwVersionMS);
    EXPECT_EQ(pFixed->dwProductVersionLS, dwVersionLS);
    EXPECT_EQ(pFixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // The texts are found, as Explorer finds them, under the language the file lists first.
    void* pvTranslation = nullptr;
    UINT cbTranslation = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &pvTranslation, &cbTranslation));
    ASSERT_GE(cbTranslation, 2 * sizeof(WORD));
    const auto* pLanguageAndCodePage = static_cast<const WORD*>(pvTranslation);
    char szBlock[32];
    std::snprintf(szBlock, sizeof szBlock, "\\StringFileInfo\\%04x%04x\\", pLanguageAndCodePage[0],
                  pLanguageAndCodePage[1]);
    const struct {
        const char* pszName;
        const char* pszValue;
    } texts[] = {
        {"ProductName", "Sonobar"},
        {"CompanyName", "Quillmark"},
        {"ProductVersion", SONOBAR_VERSION_TEXT},
        {"FileVersion", SONOBAR_VERSION_TEXT},
        {"OriginalFilename", "sonobar.exe"},
    };
    for (const auto& t : texts) {
        char* pszValue = nullptr;
        UINT cchValue = 0;
        ASSERT_TRUE(::VerQueryValueA(info.data(), (std::string(szBlock) + t.pszName).c_str(),
                                     reinterpret_cast<void**>(&pszValue), &cchValue))
            << t.pszName;
        EXPECT_STREQ(pszValue, t.pszValue) << t.pszName;
    }
}

// The activation context that Windows builds from a program's manifest when it starts it.
class CActivationContext {
public:
    explicit CActivationContext(const std::string& strProgram)
    {
        ACTCTXA actctx{};
        actctx.cbSize = sizeof actctx;
        actctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        actctx.lpSource = strProgram.c_str();
        actctx.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        m_hActCtx = ::CreateActCtxA(&actctx);
    }
    ~CActivationContext()
    {
        if (m_hActCtx != INVALID_HANDLE_VALUE)
            ::ReleaseActCtx(m_hActCtx);
    }
    CActivationContext(const CActivationContext&) = delete;
    CActivationContext& operator=(const CActivationContext&) = delete;

    HANDLE Get() const { return m_hActCtx; }

private:
    HANDLE m_hActCtx = INVALID_HANDLE_VALUE;
};

std::string GuidText(const GUID& guid)
{
    char szText[40];
    std::snprintf(szText, sizeof szText, "%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", guid.Data1,
                  guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                  guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return szText;
}

// One kind of information about an activation context, as QueryActCtxW gives it; empty when it
// has none.
std::vector<BYTE> QueryContext(HANDLE hActCtx, ULONG nInfoClass)
{
    SIZE_T cbNeeded = 0;
    ::QueryActCtxW(0, hActCtx, nullptr, nInfoClass, nullptr, 0, &cbNeeded);
    std::vector<BYTE> info(cbNeeded);
    if (info.empty() || !::QueryActCtxW(0, hActCtx, nullptr, nInfoClass, info.data(), info.size(), &cbNeeded))
        return {};
    return info;
}

// The operating systems the manifest declares, as GUID texts.
std::set<std::string> SupportedSystems(HANDLE hActCtx)
{
    const std::vector<BYTE> info = QueryContext(hActCtx, CompatibilityInformationInActivationContext);
    DWORD nElements = 0;
    if (info.size() >= sizeof nElements)
        std::memcpy(&nElements, info.data(), sizeof nElements);
    if (nElements == 0)
        return {};
    // These headers know a 20-byte element; Windows 10's add MaxVersionTested, which makes it 32
    // bytes and aligns the array to 8. Wine answers in the newer layout; the size tells which.
    const bool bShort = info.size() == sizeof nElements + nElements * sizeof(COMPATIBILITY_CONTEXT_ELEMENT);
    const size_t cbFirst = bShort ? sizeof nElements : 8;
    const size_t cbElement = bShort ? sizeof(COMPATIBILITY_CONTEXT_ELEMENT) : 32;
    if (cbFirst + nElements * cbElement > info.size())
        return {};
    std::set<std::string> systems;
    for (DWORD i = 0; i < nElements; ++i) {
        COMPATIBILITY_CONTEXT_ELEMENT element{};
        std::memcpy(&element, info.data() + cbFirst + i * cbElement, sizeof element);
        if (element.Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
            systems.insert(GuidText(element.Id));
    }
    return systems;
}

TEST(ReleaseBuildTest, ManifestRunsAsTheInvokerOnVistaTo11WithClassicControlsAndScalesItself)
{
    const CActivationContext context(BuiltProgram("sonobar.exe"));
    ASSERT_NE(context.Get(), INVALID_HANDLE_VALUE) << ::GetLastError();

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
    ASSERT_TRUE(::QueryActCtxW(0, context.Get(), nullptr, RunlevelInformationInActivationContext, &runLevel,
                               sizeof runLevel, nullptr));
    EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(runLevel.UiAccess, 0u);

    EXPECT_EQ(SupportedSystems(context.Get()), (std::set<std::string>{
                                                   "e2011457-1546-43c5-a5fe-008deee3d3f0", // Vista
                                                   "35138b9a-5d96-4fbd-8e2d-a2440225f93a", // 7
                                                   "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", // 8
                                                   "1f676c76-80e1-4239-95bb-83d0f6d0da78", // 8.1
                                                   "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a", // 10 and 11
                                               }));

    // DPI aware, so that no system stretches the bar's pixel art: system aware, and per monitor
    // where Windows 10 scales menus and tooltips per monitor too. (Wine itself scales nothing
    // and calls every process DPI-aware, so only the manifest can tell.)
    // Each setting is asked for in the namespace that defines it.
    const struct {
        const wchar_t* pszNamespace;
        const wchar_t* pszSetting;
        std::wstring strValue;
    } settings[] = {
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true"},
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2"},
    };
    for (const auto& setting : settings) {
        wchar_t szValue[64] = {};
        SIZE_T cchValue = 0;
        EXPECT_TRUE(::QueryActCtxSettingsW(0, context.Get(), setting.pszNamespace, setting.pszSetting,
                                           szValue, 64, &cchValue));
        EXPECT_EQ(setting.strValue, szValue);
    }

    // No dependency on common controls 6.0, nor on anything else: the program's own assembly is
    // the only one, so comctl32 stays the classic version 5.
    const std::vector<BYTE> details = QueryContext(context.Get(), ActivationContextDetailedInformation);
    ASSERT_GE(details.size(), sizeof(ACTIVATION_CONTEXT_DETAILED_INFORMATION));
    ACTIVATION_CONTEXT_DETAILED_INFORMATION detailed{};
    std::memcpy(&detailed, details.data(), sizeof detailed);
    EXPECT_EQ(detailed.ulAssemblyCount, 1u);
}

TEST(ReleaseBuildTest, TheShippedProgramStartsItsBarOnWinesMixerAndEndsCleanly)
{
    const CSharedSettings settings;
    settings.Clear();
    {
        CBarProcess bar("", "sonobar.exe");
        ASSERT_TRUE(bar.Started());
        const HWND hWnd = bar.BarWindow();
        ASSERT_NE(nullptr, hWnd);
        EXPECT_TRUE(::IsWindowVisible(hWnd));
        EXPECT_EQ(1u, settings.Read("Instance Count").value_or(0));
        ASSERT_TRUE(bar.Close());
        EXPECT_EQ(0u, bar.WaitForExit(0).value_or(STILL_ACTIVE));
    }
    EXPECT_EQ(0u, settings.Read("Instance Count").value_or(1));
    settings.Clear();
}

} // namespace
