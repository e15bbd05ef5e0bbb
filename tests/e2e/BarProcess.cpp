#include "BarProcess.h"

#include "BarScreen.h"

#include "fw/ScopedHandles.h"
#include "res/resource.h"

#include <commctrl.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>

#include <fstream>
#include <vector>

namespace {

std::string TempPath(const char* pszName)
{
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    return std::string(szTemp) + pszName;
}

// A top-level window of the program titled "Sonobar": its bar (with the slider) or its message box.
struct SProgramWindow {
    HWND hWnd;
    DWORD dwProcessId;
    bool bBar;
};

BOOL CALLBACK AddProgramWindow(HWND hWnd, LPARAM lParam)
{
    char szTitle[32] = {};
    ::GetWindowTextA(hWnd, szTitle, sizeof szTitle);
    if (std::string(szTitle) == "Sonobar") {
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hWnd, &dwProcessId);
        const bool bBar = ::GetDlgItem(hWnd, IDC_VOLUME_SLIDER) != nullptr;
        reinterpret_cast<std::vector<SProgramWindow>*>(lParam)->push_back({hWnd, dwProcessId, bBar});
    }
    return TRUE;
}

std::vector<SProgramWindow> ProgramWindows()
{
    std::vector<SProgramWindow> vecWindows;
    ::EnumWindows(&AddProgramWindow, reinterpret_cast<LPARAM>(&vecWindows));
    return vecWindows;
}

// A string of another process's memory, as a UNICODE_STRING there describes it.
std::string ReadRemoteString(HANDLE hProcess, const UNICODE_STRING& text)
{
    std::wstring wstrText(text.Length / sizeof(wchar_t), L'\0');
    if (!::ReadProcessMemory(hProcess, text.Buffer, wstrText.data(), text.Length, nullptr))
        return {};
    return std::string(wstrText.begin(), wstrText.end());
}

// The copies of the program that these copies started, still running. A copy runs its parent's
// program file; the name is checked because Wine hands out a finished process's id again, so
// that a process started long ago by another program (Wine's explorer.exe, say) may name as its
// parent the id that one of these copies has now.
std::set<DWORD> ChildProcesses(const std::set<DWORD>& setParents)
{
    const CScopedKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    std::vector<PROCESSENTRY32> vecEntries;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = ::Process32First(snapshot.Get(), &entry); bMore;
         bMore = ::Process32Next(snapshot.Get(), &entry))
        vecEntries.push_back(entry);
    const auto runsParentsProgram = [&vecEntries](const PROCESSENTRY32& child) {
        return std::any_of(vecEntries.begin(), vecEntries.end(), [&child](const PROCESSENTRY32& parent) {
            return parent.th32ProcessID == child.th32ParentProcessID &&
                   ::lstrcmpiA(parent.szExeFile, child.szExeFile) == 0;
        });
    };
    std::set<DWORD> setChildren;
    for (const PROCESSENTRY32& child : vecEntries) {
        if (setParents.count(child.th32ParentProcessID) && !setParents.count(child.th32ProcessID) &&
            runsParentsProgram(child))
            setChildren.insert(child.th32ProcessID);
    }
    return setChildren;
}

// Waits until the copy's thread is back at its message loop: a message sent to the bar is taken
// only there, so the answer comes once whatever the bar was handling is done.
void WaitUntilIdle(HWND hBar)
{
    DWORD_PTR dwResult = 0;
    ::SendMessageTimeoutA(hBar, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &dwResult);
}

} // namespace

CBarProcess::CBarProcess(const std::string& strTail, const std::string& strProgram, bool bWaitUntilStarted)
{
    const bool bBareName = strProgram.find_first_of("\\/:") == std::string::npos;
    std::string strCommandLine(1, '"');
    strCommandLine += (strProgram.empty() ? ProgramDirectory() + "sonobar-sim.exe"
                       : bBareName        ? ProgramDirectory() + strProgram
                                          : strProgram) +
                      "\"";
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
    if (bWaitUntilStarted)
        WaitUntilStarted();
}

CRunningBar::CRunningBar(const std::string& strTail)
    : CBarProcess(strTail), hBar(BarWindow()), hMenuButton(::GetDlgItem(hBar, IDC_MENU_BUTTON)),
      hSlider(::GetDlgItem(hBar, IDC_VOLUME_SLIDER)), hMute(::GetDlgItem(hBar, IDC_MUTE_BUTTON))
{
}

CProgramCopy::CProgramCopy(const std::string& strFolder, const std::string& strName)
    : m_strDirectory(TempPath(strFolder.c_str()) + "\\"), m_strPath(m_strDirectory + strName)
{
    ::CreateDirectoryA(m_strDirectory.c_str(), nullptr);
    m_bMade =
        ::CopyFileA((ProgramDirectory() + "sonobar-sim.exe").c_str(), m_strPath.c_str(), FALSE) != FALSE;
}

CProgramCopy::~CProgramCopy()
{
    ::DeleteFileA(m_strPath.c_str());
    ::RemoveDirectoryA(m_strDirectory.c_str());
}

std::unique_ptr<CBarProcess> CBarProcess::Adopt(DWORD dwProcessId)
{
    const HANDLE hProcess = ::OpenProcess(
        PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwProcessId);
    if (!hProcess)
        return nullptr;
    return std::make_unique<CBarProcess>(SAdoptKey{}, hProcess, dwProcessId);
}

CBarProcess::CBarProcess(SAdoptKey, HANDLE hProcess, DWORD dwProcessId)
{
    m_pi.hProcess = hProcess;
    m_pi.dwProcessId = dwProcessId;
}

void CBarProcess::WaitUntilStarted() const
{
    ::WaitForInputIdle(m_pi.hProcess, 20000);
}

std::string CBarProcess::CommandLine() const
{
    // The command line lives in the process's parameter block, which its PEB points to.
    using QueryInformation = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto pfnQuery = reinterpret_cast<QueryInformation>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!pfnQuery || pfnQuery(m_pi.hProcess, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return {};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!::ReadProcessMemory(m_pi.hProcess, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        !::ReadProcessMemory(m_pi.hProcess, peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
        return {};
    return ReadRemoteString(m_pi.hProcess, parameters.CommandLine);
}

std::string CBarProcess::ProgramPath() const
{
    char szPath[MAX_PATH] = {};
    DWORD cch = sizeof szPath;
    return ::QueryFullProcessImageNameA(m_pi.hProcess, 0, szPath, &cch) ? szPath : "";
}

void CBarProcess::Kill()
{
    ::TerminateProcess(m_pi.hProcess, 1);
    WaitForExit();
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
    if (m_pi.hThread)
        ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
}

HWND CBarProcess::BarWindow() const
{
    for (const SProgramWindow& window : ProgramWindows()) {
        if (window.bBar && window.dwProcessId == m_pi.dwProcessId)
            return window.hWnd;
    }
    return nullptr;
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

std::vector<HWND> BarWindows()
{
    std::vector<HWND> vecBars;
    for (const SProgramWindow& window : ProgramWindows()) {
        if (window.bBar)
            vecBars.push_back(window.hWnd);
    }
    return vecBars;
}

std::set<DWORD> BarProcessIds()
{
    std::set<DWORD> setIds;
    for (const SProgramWindow& window : ProgramWindows()) {
        if (window.bBar)
            setIds.insert(window.dwProcessId);
    }
    return setIds;
}

std::vector<std::unique_ptr<CBarProcess>> AdoptNewBars(const std::set<DWORD>& setKnown, size_t nCount)
{
    const auto newIds = [&setKnown] {
        std::set<DWORD> setNew;
        for (const DWORD dwId : BarProcessIds()) {
            if (!setKnown.count(dwId))
                setNew.insert(dwId);
        }
        return setNew;
    };
    WaitFor([&] { return newIds().size() >= nCount; }, 20000);
    // A copy that starts others has started one by now; once it is idle again it has started
    // every copy it was going to (one too many, too), and each is taken over once its bar stands.
    for (const HWND hBar : BarWindows()) {
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hBar, &dwProcessId);
        if (setKnown.count(dwProcessId))
            WaitUntilIdle(hBar);
    }
    std::set<DWORD> setStarted = ChildProcesses(setKnown);
    const std::set<DWORD> setNew = newIds();
    setStarted.insert(setNew.begin(), setNew.end());
    WaitFor(
        [&] {
            const std::set<DWORD> setBars = BarProcessIds();
            return std::all_of(setStarted.begin(), setStarted.end(),
                               [&](DWORD dwId) { return setBars.count(dwId) != 0; });
        },
        20000);
    std::vector<std::unique_ptr<CBarProcess>> vecAdopted;
    for (const DWORD dwId : setStarted) {
        if (auto pProcess = CBarProcess::Adopt(dwId)) {
            pProcess->WaitUntilStarted();
            vecAdopted.push_back(std::move(pProcess));
        }
    }
    return vecAdopted;
}

void DismissMessageBoxes(DWORD dwProcessId)
{
    for (const SProgramWindow& window : ProgramWindows()) {
        if (!window.bBar && window.dwProcessId == dwProcessId)
            ::PostMessageA(window.hWnd, WM_COMMAND, IDOK, 0);
    }
}

HWND MessageBoxOf(DWORD dwProcessId)
{
    for (const SProgramWindow& window : ProgramWindows()) {
        if (!window.bBar && window.dwProcessId == dwProcessId)
            return window.hWnd;
    }
    return nullptr;
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

std::string ProgramDirectory()
{
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.find_last_of("\\/") + 1);
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
