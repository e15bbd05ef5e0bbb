#include "fw/ToolTipCtrl.h"

#include <vector>

CToolTipCtrl::~CToolTipCtrl()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

BOOL CToolTipCtrl::Create(const CWnd& owner)
{
    m_hOwner = owner.m_hWnd;
    // Without TTS_NOPREFIX a tooltip takes an ampersand for an access key's mark and drops it: a
    // name as "Rock & Roll" shows as it is only with it.
    m_hWnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hOwner, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    return m_hWnd != nullptr;
}

BOOL CToolTipCtrl::AddTool(HWND hTool, const std::string& strText)
{
    TTTOOLINFOA info = ToolInfo(hTool);
    info.lpszText = const_cast<char*>(strText.c_str());
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::SetText(HWND hTool, const std::wstring& wstrText)
{
    // The control keeps its texts in Unicode whichever way its window was made, so the wide
    // message is understood by the ANSI window too.
    const TTTOOLINFOA infoA = ToolInfo(hTool);
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = infoA.uFlags;
    info.hwnd = infoA.hwnd;
    info.uId = infoA.uId;
    info.lpszText = const_cast<wchar_t*>(wstrText.c_str());
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::RelayEvent(MSG* pMsg)
{
    if (m_hWnd)
        ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}

std::string CToolTipCtrl::GetText(HWND hTool) const
{
    // Older tooltip controls ignore the size in wParam; any tool text is far shorter than this.
    std::vector<char> buffer(1024, '\0');
    TTTOOLINFOA info = ToolInfo(hTool);
    info.lpszText = buffer.data();
    ::SendMessageA(m_hWnd, TTM_GETTEXTA, buffer.size(), reinterpret_cast<LPARAM>(&info));
    return buffer.data();
}

TTTOOLINFOA CToolTipCtrl::ToolInfo(HWND hTool) const
{
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = m_hOwner;
    info.uId = reinterpret_cast<UINT_PTR>(hTool);
    return info;
}
