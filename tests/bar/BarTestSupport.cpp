#include "BarTestSupport.h"

#include "app/StartupValues.h"
#include "bar/TrayIcon.h"
#include "res/resource.h"
#include "sim/SimMixer.h"

#include <utility>

void BarTest::SetUp()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
    sim::Reset();
    m_app.m_strAppName = "Sonobar";
    m_app.SetRegistryKey("Quillmark");
    TakeCommandLine("sonobar.exe");
    g_bFirstInstance = 1;
    g_hBarWnd = nullptr;
}

void BarTest::TearDown()
{
    EndBar();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
    sim::Reset();
}

void BarTest::UseCards(const std::string& strTopology)
{
    sim::Reset();
    std::string strError;
    ASSERT_TRUE(sim::LoadCardsText(strTopology, &strError)) << strError;
}

void BarTest::Store(const char* pszName, int nValue)
{
    EndBar();
    m_app.WriteProfileInt("Settings", pszName, nValue);
}

CBarDlg& BarTest::StartBar(std::unique_ptr<CBarDlg> pBar)
{
    EndBar();
    m_pBar = pBar ? std::move(pBar) : std::make_unique<CBarDlg>(m_copies);
    EXPECT_TRUE(m_pBar->Create(IDD_BAR));
    // The reads of the initialisation are done; from here on the tests count writes only.
    Pump();
    return *m_pBar;
}

void BarTest::EndBar()
{
    if (m_pBar && m_pBar->m_hWnd)
        m_pBar->DestroyWindow();
    m_pBar.reset();
    Pump();
}

void BarTest::Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

unsigned BarTest::Writes()
{
    return sim::CallCount(sim::Function::SetControlDetails);
}

void BarTest::Scroll(UINT nCode, int nPos)
{
    ::SendMessageA(m_pBar->m_hWnd, WM_HSCROLL, MAKEWPARAM(nCode, nPos),
                   reinterpret_cast<LPARAM>(m_pBar->m_sliderVolume.m_hWnd));
}

void BarTest::ClickMute()
{
    ::SendMessageA(m_pBar->m_btnMute.m_hWnd, BM_CLICK, 0, 0);
}

namespace {

std::optional<RECT> g_rcMenu;

void CALLBACK CloseMenuOrMessage(HWND, UINT, UINT_PTR, DWORD)
{
    HWND hMenu = nullptr;
    while ((hMenu = ::FindWindowExA(nullptr, hMenu, "#32768", nullptr)) != nullptr) {
        if (::IsWindowVisible(hMenu)) {
            RECT rc{};
            ::GetWindowRect(hMenu, &rc);
            g_rcMenu = rc;
            ::EndMenu();
            break;
        }
    }
    if (const HWND hBox = ::FindWindowA("#32770", "Sonobar"))
        ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
}

} // namespace

std::optional<RECT> MenuOpenedBy(const std::function<void()>& action)
{
    g_rcMenu.reset();
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, &CloseMenuOrMessage);
    action();
    ::KillTimer(nullptr, nTimer);
    return g_rcMenu;
}
