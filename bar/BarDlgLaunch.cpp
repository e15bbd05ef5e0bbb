// Further copies of the program: the menu's side and card commands start one (or show the bar
// that already drives that card and side), and a change of the sound hardware replaces every bar
// by a fresh set.
#include "bar/BarDlg.h"

#include "app/BarWindows.h"
#include "app/InstanceRole.h"
#include "mixer/MixerCards.h"
#include "res/resource.h"

#include <dbt.h>

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

LRESULT CBarDlg::OnDeviceChange(UINT nEvent, DWORD_PTR)
{
    // Arrivals, removals and queries are answered and otherwise left alone.
    if (nEvent != DBT_DEVNODES_CHANGED)
        return TRUE;

    // 1. Noted at once: a copy that is starting now, with no bar yet to be told, learns of the
    //    change when its start ends, and takes part.
    m_copies.NoteDeviceChange();

    // 2. Every copy sees the change and ends. They take turns, each deciding whether it is the
    //    last and then ending before the next one looks; so exactly the last one sees no other
    //    bar and no copy starting, even when all of them got the change at the same moment.
    const CCopyLock turn = m_copies.TakeTurn();
    m_copies.NoteSetPlace();
    const BOOL bLast = m_copies.IsLastCopy(m_hWnd);

    // 3. Its end saves the settings and takes it off the counter.
    DestroyWindow();

    // 4. The last one starts the fresh set, one output bar per card, where the old set stood.
    if (bLast)
        m_copies.RestartBars(CountMixerCards());
    return TRUE;
}
