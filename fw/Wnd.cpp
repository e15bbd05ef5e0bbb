#include "fw/Wnd.h"

namespace {

// The window property that links a window to its CWnd.
const char kObjectProperty[] = "Sonobar.CWnd";

} // namespace

CWnd::~CWnd()
{
    if (m_hWnd)
        Detach();
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || FromHandle(hWnd))
        return FALSE;
    ::SetPropA(hWnd, kObjectProperty, this);
    m_hWnd = hWnd;
    m_pfnOriginalProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return TRUE;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    return hWnd ? static_cast<CWnd*>(::GetPropA(hWnd, kObjectProperty)) : nullptr;
}

LRESULT CWnd::WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (const CMessageMapBase* pMap = GetMessageMap()) {
        if (const auto lResult = pMap->Route(*this, EEntryKind::Message, nMessage, wParam, lParam))
            return *lResult;
    }
    return CallOriginalProc(nMessage, wParam, lParam);
}

void CWnd::Detach()
{
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOriginalProc));
    ::RemovePropA(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandle(hWnd);
    if (!pWnd)
        return ::DefWindowProcA(hWnd, nMessage, wParam, lParam);

    // Handlers may send further messages; keep the outer message for their Default().
    const MSG outer = pWnd->m_currentMsg;
    pWnd->m_currentMsg = MSG{hWnd, nMessage, wParam, lParam, 0, {}};
    if (nMessage == WM_NCDESTROY) {
        const LRESULT lResult = pWnd->CallOriginalProc(nMessage, wParam, lParam);
        pWnd->Detach();
        pWnd->PostNcDestroy();
        return lResult;
    }
    const LRESULT lResult = pWnd->WindowProc(nMessage, wParam, lParam);
    pWnd->m_currentMsg = outer;
    return lResult;
}
