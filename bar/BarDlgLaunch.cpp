// Further copies of the program: the menu's side and card commands start one (or show the bar
// that already drives that card and side), and a change of the sound hardware replaces every bar
// by a fresh set.
#include "bar/BarDlg.h"

#include "app/BarWindows.h"
#include "app/CopyLock.h"
#include "app/InstanceRole.h"
#include "app/Launch.h"
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

void CBarDlg::StartOrShow(const InstanceRole& role)
{
    // A card and side that already have their bar (this one, perhaps) get that bar shown, not a
    // second one.
    if (const HWND hBar = m_launcher.StartUnlessRunning(role))
        ShowBar(hBar);
}

LRESULT CBarDlg::OnDeviceChange(WPARAM wParam, LPARAM)
{
    // Arrivals, removals and queries are answered and otherwise left alone.
    if (wParam != DBT_DEVNODES_CHANGED)
        return TRUE;

    // 1. Every copy sees the change and ends. They take turns, each deciding whether it is the
    //    last and then ending before the next one looks; so exactly the last one sees no other
    //    bar, even when all of them got the change at the same moment.
    const CCopyLock lock;
    // 2. The last one starts the fresh bars before it goes, one output bar per card.
    if (IsLastCopy()) {
        for (const std::string& strRoleWord : RoleWordsAfterDeviceChange(::mixerGetNumDevs()))
            LaunchCopy(strRoleWord);
    }
    // 3. Its own end saves the settings and takes it off the counter.
    DestroyWindow();
    return TRUE;
}
