#include "fw/WinApp.h"

#include "fw/ScopedHandles.h"

namespace {

CWinApp* g_pApp = nullptr;
HHOOK g_hMessageFilterHook = nullptr;

using CScopedHook = CScopedHandle<HHOOK, CReleaseWith<&::UnhookWindowsHookEx>>;

} // namespace

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

int CWinApp::Main()
{
    // The thread's message-filter hook, for the life of the message loop.
    const CScopedHook hook(
        ::SetWindowsHookExA(WH_MSGFILTER, &CWinApp::MessageFilterHook, nullptr, ::GetCurrentThreadId()));
    g_hMessageFilterHook = hook.Get();
    if (!InitInstance())
        return ExitInstance();
    return Run();
}

int CWinApp::Run()
{
    // The main window's end posts WM_QUIT, but a loop nested in a message's handling may take it
    // (Wine's move loop, entered from the window menu's Move, ends on it without posting it
    // again). The window's end is what counts, so it is checked before each wait.
    MSG msg{};
    while (m_pMainWnd && m_pMainWnd->m_hWnd) {
        const BOOL bResult = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bResult == 0)
            m_nExitCode = static_cast<int>(msg.wParam);
        if (bResult <= 0)
            break;
        if (m_pMainWnd->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

BOOL CWinApp::ProcessMessageFilter(int, LPMSG)
{
    return FALSE;
}

void CWinApp::SetRegistryKey(const char* pszCompany)
{
    m_pProfile = std::make_unique<CRegistryProfile>(pszCompany, m_strAppName);
}

int CWinApp::GetProfileInt(const char* pszSection, const char* pszEntry, int nDefault) const
{
    if (!m_pProfile)
        return nDefault;
    const auto value = m_pProfile->ReadInt(pszSection, pszEntry);
    return value ? static_cast<int>(*value) : nDefault;
}

BOOL CWinApp::WriteProfileInt(const char* pszSection, const char* pszEntry, int nValue) const
{
    return m_pProfile && m_pProfile->WriteInt(pszSection, pszEntry, static_cast<DWORD>(nValue));
}

std::wstring CWinApp::GetProfileWideString(const char* pszSection, const char* pszEntry) const
{
    const auto value = m_pProfile ? m_pProfile->ReadWideText(pszSection, pszEntry) : std::nullopt;
    return value.value_or(L"");
}

BOOL CWinApp::WriteProfileWideString(const char* pszSection, const char* pszEntry,
                                     const std::wstring& wstrValue) const
{
    return m_pProfile && m_pProfile->WriteWideText(pszSection, pszEntry, wstrValue);
}

LRESULT CALLBACK CWinApp::MessageFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0 && g_pApp && g_pApp->ProcessMessageFilter(nCode, reinterpret_cast<LPMSG>(lParam)))
        return TRUE;
    return ::CallNextHookEx(g_hMessageFilterHook, nCode, wParam, lParam);
}
