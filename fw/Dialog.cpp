#include "fw/Dialog.h"

#include "fw/WinApp.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    const HWND hWnd =
        ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), ParentHandle(),
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HWND hParent = ParentHandle();
    if (!hParent && AfxGetApp() && AfxGetApp()->m_pMainWnd)
        hParent = AfxGetApp()->m_pMainWnd->m_hWnd;
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), hParent,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

LRESULT CDialog::WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_DRAWITEM) {
        const auto* pItem = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        LRESULT lResult = 0;
        if (CWnd* pControl = FromHandle(pItem->hwndItem);
            pControl && pControl->OnChildNotify(nMessage, wParam, lParam, lResult))
            return TRUE;
    }
    if (nMessage == WM_COMMAND && HandleCommand(wParam, lParam))
        return 0;
    if (nMessage == WM_SYSCOMMAND && RunMenuCommand(SystemCommandId(wParam)))
        return 0;
    return CWnd::WindowProc(nMessage, wParam, lParam);
}

void CDialog::PostNcDestroy()
{
    // The main window's end is the application's end.
    if (AfxGetApp() && AfxGetApp()->m_pMainWnd == this)
        ::PostQuitMessage(0);
}

BOOL CDialog::HandleCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    if (lParam != 0) {
        // A control's: only a button's click is a command, and it has no state step.
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        if (const CMessageMapBase* pMap = GetMessageMap();
            pMap && pMap->Route(*this, EEntryKind::Command, nID, nID, 0))
            return TRUE;
    }
    else if (RunMenuCommand(nID)) {
        return TRUE;
    }
    else if (nID >= SC_SIZE) {
        // Posted, so that a move or size of the keyboard (parameter 0) that it starts runs after
        // this command has been handled.
        ::PostMessageA(m_hWnd, WM_SYSCOMMAND, nID, 0);
        return TRUE;
    }
    if (nID == IDOK) {
        OnOK();
        return TRUE;
    }
    if (nID == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

BOOL CDialog::RunMenuCommand(UINT nID)
{
    const CMessageMapBase* pMap = GetMessageMap();
    if (!pMap)
        return FALSE;
    CCmdUI state(nID);
    const bool bStep =
        pMap->Route(*this, EEntryKind::StateStep, nID, 0, reinterpret_cast<LPARAM>(&state)).has_value();
    return !state.IsEnabled() || pMap->Route(*this, EEntryKind::Command, nID, nID, 0) || bStep;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMessage, WPARAM, LPARAM lParam)
{
    // Only the first message matters here: afterwards the subclassed window procedure sees
    // every message before the dialog manager does, and this procedure declines the rest.
    if (nMessage != WM_INITDIALOG)
        return FALSE;
    auto* pDialog = reinterpret_cast<CDialog*>(lParam);
    pDialog->SubclassWindow(hWnd);
    return pDialog->OnInitDialog();
}
