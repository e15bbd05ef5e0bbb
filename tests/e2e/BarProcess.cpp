#include "BarProcess.h"

#include "res/resource.h"

#include <commctrl.h>

#include <fstream>
#include <vector>

namespace {

std::string ProgramDirectory()
{
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.find_last_of("\\/") + 1);
}

std::string TempPath(const char* pszName)
{
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    return std::string(szTemp) + pszName;
}

struct BarSearch {
    DWORD dwProcessId;
    HWND hWnd;
};

BOOL CALLBACK FindBarOfProcess(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<BarSearch*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    char szTitle[32] = {};
    ::GetWindowTextA(hWnd, szTitle, sizeof szTitle);
    if (dwProcessId == pSearch->dwProcessId && std::string(szTitle) == "Sonobar") {
        pSearch->hWnd = hWnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

CBarProcess::CBarProcess(const std::string& strTail)
{
    std::string strCommandLine(1, '"');
    strCommandLine += ProgramDirectory() + "sonobar-sim.exe\"";
    if (!strTail.empty())
        strCommandLine += " " + strTail;
    std::vector<char> commandLine(strCommandLine.begin(), strCommandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &m_pi)) {
        m_pi = PROCESS_INFORMATION{};
        return;
    }
    ::WaitForInputIdle(m_pi.hProcess, 20000);
}

CBarProcess::~CBarProcess()
{
    if (!m_pi.hProcess)
        return;
    if (!WaitForExit(0)) {
        Close();
        if (!WaitForExit(0))
            ::TerminateProcess(m_pi.hProcess, 1);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
}

HWND CBarProcess::BarWindow() const
{
    BarSearch search{m_pi.dwProcessId, nullptr};
    ::EnumWindows(&FindBarOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.hWnd;
}

bool CBarProcess::Close()
{
    if (const HWND hWnd = BarWindow())
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    return WaitForExit().has_value();
}

std::optional<DWORD> CBarProcess::WaitForExit(DWORD dwMilliseconds)
{
    if (::WaitForSingleObject(m_pi.hProcess, dwMilliseconds) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD dwExitCode = 0;
    ::GetExitCodeProcess(m_pi.hProcess, &dwExitCode);
    return dwExitCode;
}

CForeignBar::CForeignBar(const char* pszTitle, RECT rc, bool bVisible, bool bWithSlider)
{
    m_hWnd = ::CreateWindowExA(0, "STATIC", pszTitle, WS_POPUP | (bVisible ? WS_VISIBLE : 0), rc.left, rc.top,
                               rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    if (bWithSlider) {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        ::CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, rc.right - rc.left, 10, m_hWnd,
                          reinterpret_cast<HMENU>(IDC_VOLUME_SLIDER), ::GetModuleHandleA(nullptr), nullptr);
    }
}

CForeignBar::~CForeignBar()
{
    ::DestroyWindow(m_hWnd);
}

RECT WindowRect(HWND hWnd)
{
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

CSharedSettings::CSharedSettings() : m_profile("Quillmark", "Sonobar")
{
}

void CSharedSettings::Clear() const
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
}

std::string UseSimulatedCards(const std::string& strTopology)
{
    const std::string strPath = TempPath("sonobar-e2e-cards.txt");
    std::ofstream(strPath, std::ios::trunc) << strTopology;
    ::SetEnvironmentVariableA("SONOBAR_SIM_CARDS", strPath.c_str());
    return strPath;
}

std::string UseSimulatorLog()
{
    const std::string strPath = TempPath("sonobar-e2e-mixer.log");
    ::DeleteFileA(strPath.c_str());
    ::SetEnvironmentVariableA("SONOBAR_SIM_LOG", strPath.c_str());
    return strPath;
}
