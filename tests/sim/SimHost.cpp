// The test build's side of the simulator: loading the topology named by the environment, the
// write log, the driver window and the forwarding of writes between copies.
#include "sim/SimDriver.h"
#include "sim/SimInternal.h"
#include "sim/SimResources.h"

#include <fstream>

namespace sim {
namespace {
constexpr char kCardsVariable[] = "SONOBAR_SIM_CARDS";
constexpr char kLogVariable[] = "SONOBAR_SIM_LOG";

class CDriverWindow {
public:
    CDriverWindow() = default;
    ~CDriverWindow()
    {
        if (m_hWnd != nullptr)
            DestroyWindow(m_hWnd);
    }
    CDriverWindow(const CDriverWindow&) = delete;
    CDriverWindow& operator=(const CDriverWindow&) = delete;

    HWND Create(const std::string& strSession);
    HWND Get() const { return m_hWnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd = nullptr;
};

struct Host {
    bool bStarted = false;
    bool bForward = false;
    std::string strSession;
    std::string strLogPath;
    CDriverWindow window;
};

Host& TheHost()
{
    static Host host;
    return host;
}

std::string GetEnvironmentText(const char* pszName)
{
    char szValue[1024];
    const DWORD cch = GetEnvironmentVariableA(pszName, szValue, sizeof szValue);
    return cch > 0 && cch < sizeof szValue ? std::string(szValue, cch) : std::string();
}

void AppendLog(const std::string& strLine)
{
    const std::string& strPath = TheHost().strLogPath;
    if (strPath.empty())
        return;
    std::ofstream(strPath, std::ios::app) << strLine << '\n';
}

const char* OriginName(Origin origin)
{
    switch (origin) {
    case Origin::Program:
        return "program";
    case Origin::Driver:
        return "driver";
    case Origin::Copy:
        return "copy";
    }
    return "?";
}

// Applies a WM_COPYDATA change: card, control id, count, values.
BOOL ApplyCopyData(const COPYDATASTRUCT& cds)
{
    if (cds.dwData != kSimFromDriver && cds.dwData != kSimFromCopy)
        return FALSE;
    const auto* pWords = static_cast<const DWORD*>(cds.lpData);
    const size_t cWords = cds.cbData / sizeof(DWORD);
    if (pWords == nullptr || cWords < 3 || cWords != 3 + size_t{pWords[2]})
        return FALSE;
    const std::vector<DWORD> values(pWords + 3, pWords + cWords);
    const Origin origin = cds.dwData == kSimFromDriver ? Origin::Driver : Origin::Copy;
    return ApplyValues(pWords[0], pWords[1], values, origin) == MMSYSERR_NOERROR;
}

LRESULT CALLBACK CDriverWindow::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_COPYDATA) {
        const auto& cds = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (cds.dwData == kSimQueryResource && cds.cbData == sizeof(DWORD))
            return CountResource(static_cast<Resource>(*static_cast<const DWORD*>(cds.lpData)));
        if (cds.dwData == kSimAddCards)
            return LoadCardsText(std::string(static_cast<const char*>(cds.lpData), cds.cbData));
        return ApplyCopyData(cds);
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

HWND CDriverWindow::Create(const std::string& strSession)
{
    if (m_hWnd != nullptr)
        return m_hWnd;
    const HINSTANCE hInstance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &CDriverWindow::WindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = kSimDriverClass;
    RegisterClassExA(&wc);
    m_hWnd = CreateWindowExA(0, kSimDriverClass, strSession.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             hInstance, nullptr);
    return m_hWnd;
}
} // namespace

void SetLogFile(const std::string& strPath)
{
    TheHost().strLogPath = strPath;
}

HWND CreateDriverWindow(const std::string& strSession)
{
    TheHost().strSession = strSession;
    return TheHost().window.Create(strSession);
}

void EnsureHost()
{
    Host& host = TheHost();
    if (host.bStarted)
        return;
    host.bStarted = true;

    // 1. The log first, so that a topology that fails to load can say why.
    const std::string strLog = GetEnvironmentText(kLogVariable);
    if (!strLog.empty())
        SetLogFile(strLog);

    // 2. Only the test build runs with a topology file; tests in one process build their own.
    const std::string strCards = GetEnvironmentText(kCardsVariable);
    if (strCards.empty())
        return;
    std::string strError;
    if (!HasCards() && !LoadCardsFile(strCards, &strError))
        AppendLog("error " + strError);

    // 3. The window for test drivers and for the other copies' writes.
    CreateDriverWindow(strCards);
    host.bForward = true;
}

void ReportWrite(Origin origin, UINT nCard, DWORD dwControlID, const std::vector<DWORD>& values)
{
    Host& host = TheHost();
    std::string strLine = std::string(OriginName(origin)) + ' ' + std::to_string(GetCurrentProcessId()) +
                          ' ' + std::to_string(nCard) + ' ' + std::to_string(dwControlID);
    for (DWORD dwValue : values)
        strLine += ' ' + std::to_string(dwValue);
    AppendLog(strLine);

    if (origin == Origin::Program && host.bForward)
        SimDriverSetValues(host.strSession, nCard, dwControlID, values, host.window.Get(), kSimFromCopy);
}
} // namespace sim
