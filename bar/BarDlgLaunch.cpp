// Further copies of the program: the menu's side and card commands start one (or show the bar
// that already drives that card and side), and a change of the sound hardware replaces every bar
// by a fresh set, never beneath a handler of the bar that is still running.
#include "bar/BarDlg.h"

#include "app/BarWindows.h"
#include "app/InstanceRole.h"
#include "mixer/MixerCards.h"
#include "res/resource.h"

void CBarDlg::OnDirection(UINT nID)
{
    // The new copy takes the other side (or this one again) of this bar's card; this bar keeps
    // everything it has.
    StartOrShow({nID == ID_INPUT_VOLUME, m_nCardIndex});
}

void CBarDlg::OnCard(UINT nID)
{
    StartOrShow({FALSE, static_cast<int>(nID - ID_CARD1)});
}

void CBarDlg::StartOrShow(const SInstanceRole& role)
{
    // A card and side that already have their bar (this one, perhaps) get that bar shown, not a
    // second one.
    if (const HWND hBar = m_launcher.StartUnlessRunning(role, m_copies))
        ShowBar(hBar);
}

LRESULT CBarDlg::OnDeviceChange(UINT nEvent, DWORD_PTR dwData)
{
    // Arrivals, removals, queries and changes of other devices are answered and otherwise left
    // alone.
    if (!IsMixerCardChange(nEvent, dwData))
        return TRUE;

    // 1. Noted at once: a copy that is starting now, with no bar yet to be told, learns of the
    //    change when its start ends, and takes part.
    m_copies.NoteDeviceChange();

    // 2. Inside a modal loop that a handler of the bar runs (the no-driver message, the about box,
    //    the menu, a move), the handler would go on with a bar whose window and objects are gone:
    //    the loop is called off, and the bar ends once the handler has returned.
    if (m_nHandlersRunning > 1) {
        m_bDeviceChangeWaits = TRUE;
        EndModalLoops();
        return TRUE;
    }
    EndForDeviceChange();
    return TRUE;
}

LRESULT CBarDlg::WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    ++m_nHandlersRunning;
    const LRESULT lResult = CDialog::WindowProc(nMessage, wParam, lParam);
    if (--m_nHandlersRunning == 0 && m_bDeviceChangeWaits)
        EndForDeviceChange();
    return lResult;
}

void CBarDlg::EndModalLoops()
{
    // WM_CANCELMODE ends the menu and releases the mouse; Wine's move goes on until the user ends
    // it, and the bar waits for that. The message box and the about box are called off as their
    // Cancel would.
    ::SendMessageA(m_hWnd, WM_CANCELMODE, 0, 0);
    for (const HWND hOwned : OwnedWindows()) {
        // Dialogs are of class #32770.
        char szClass[16] = {};
        ::GetClassNameA(hOwned, szClass, sizeof szClass);
        if (::lstrcmpiA(szClass, "#32770") == 0)
            ::PostMessageA(hOwned, WM_COMMAND, IDCANCEL, 0);
    }
}

void CBarDlg::EndForDeviceChange()
{
    m_bDeviceChangeWaits = FALSE;
    // The bar's end saves the settings and takes it off the counter; the last copy starts the
    // fresh set with one output bar per card, where the old set stood.
    m_copies.EndForDeviceChange(
        m_hWnd, [this] { DestroyWindow(); }, &CountMixerCards);
}
