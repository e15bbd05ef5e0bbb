// The programs that play on the bar's card (mixer/ProgramLines.h): their group in the popup
// menu, made afresh whenever the menu opens, and the program as the bar's line. The bar keeps the
// chosen program while none of its sessions is there, with the slider and the mute button
// disabled, and picks it up again when it plays, at the level it plays at.
#include "bar/BarDlg.h"

#include "bar/ProgramEntries.h"
#include "fw/AnsiText.h"
#include "fw/ResourceString.h"
#include "fw/ScopedHandles.h"
#include "fw/WindowDpi.h"
#include "mixer/LineSelection.h"
#include "mixer/MixerDevice.h"
#include "res/resource.h"

#include <algorithm>

namespace {

constexpr UINT kProgramEntryIds = ID_PROGRAM_LAST - ID_PROGRAM_FIRST + 1;

// The menu position right after the line entries: "Master Volme" and the numbered lines.
int PositionAfterLines(HMENU hMenu)
{
    const int cItems = ::GetMenuItemCount(hMenu);
    int nPosition = 0;
    while (nPosition < cItems && ::GetMenuItemID(hMenu, nPosition) != ID_MASTER_VOLUME)
        ++nPosition;
    if (nPosition == cItems)
        return cItems;
    ++nPosition;
    while (nPosition < cItems && ::GetMenuItemID(hMenu, nPosition) >= ID_CONTROL2 &&
           ::GetMenuItemID(hMenu, nPosition) <= ID_CONTROL10)
        ++nPosition;
    return nPosition;
}

} // namespace

void CBarDlg::UpdateProgramEntries()
{
    // 1. The group as the menu last showed it goes, its submenu with it.
    for (UINT i = 0; i < m_cProgramItems; ++i)
        ::DeleteMenu(m_hMenuPopup, static_cast<UINT>(m_nProgramPosition), MF_BYPOSITION);
    m_cProgramItems = 0;
    m_hMorePrograms = nullptr;
    // 2. The programs now, on an output bar's card, as many as have a command. The chosen one
    //    is in the menu itself, among the first, so none past the commands is the chosen one.
    m_programEntries.clear();
    if (!m_bInput)
        m_programEntries = ProgramEntries(CardPrograms(), m_dwProgram, m_wstrProgramName, ProgramRoom());
    if (m_programEntries.size() > kProgramEntryIds)
        m_programEntries.resize(kProgramEntryIds);
    if (m_programEntries.empty())
        return;
    // 3. A separator, then one radio entry per program after the line entries, and those that do
    //    not fit in a submenu of their own. The state table greys and marks them.
    m_nProgramPosition = PositionAfterLines(m_hMenuPopup);
    UINT nPosition = static_cast<UINT>(m_nProgramPosition);
    ::InsertMenuW(m_hMenuPopup, nPosition++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    CScopedMenu more(::CreatePopupMenu());
    for (UINT i = 0; i < m_programEntries.size(); ++i) {
        const SProgramEntry& entry = m_programEntries[i];
        const std::wstring wstrText = MenuEntryText(entry.wstrName);
        if (entry.bMore)
            ::AppendMenuW(more.Get(), MF_STRING, ID_PROGRAM_FIRST + i, wstrText.c_str());
        else
            ::InsertMenuW(m_hMenuPopup, nPosition++, MF_BYPOSITION | MF_STRING, ID_PROGRAM_FIRST + i,
                          wstrText.c_str());
    }
    // The menu owns the submenu from here and destroys it with the entry.
    if (::GetMenuItemCount(more.Get()) > 0) {
        m_hMorePrograms = more.Detach();
        ::InsertMenuW(m_hMenuPopup, nPosition++, MF_BYPOSITION | MF_POPUP,
                      reinterpret_cast<UINT_PTR>(m_hMorePrograms),
                      ToWide(LoadResourceString(IDS_MORE_PROGRAMS)).c_str());
    }
    m_cProgramItems = nPosition - static_cast<UINT>(m_nProgramPosition);
}

std::vector<SProgramLine> CBarDlg::CardPrograms() const
{
    return ReadProgramLines(reinterpret_cast<HMIXEROBJ>(m_pMixer->m_hMixer.Get()), MIXER_OBJECTF_HMIXER);
}

SProgramRoom CBarDlg::ProgramRoom() const
{
    // The work area of the bar's monitor; an entry's height at the monitor's DPI, from the
    // system's metrics at the system's DPI.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const CWindowDC screen(nullptr);
    const int nEntryHeight = ::MulDiv(::GetSystemMetrics(SM_CYMENU), static_cast<int>(WindowDpi(m_hWnd)),
                                      ::GetDeviceCaps(screen.Get(), LOGPIXELSY));
    const int cOtherItems = ::GetMenuItemCount(m_hMenuPopup) - static_cast<int>(m_cProgramItems);
    SProgramRoom room = ::ProgramRoom(monitor.rcWork.bottom - monitor.rcWork.top, nEntryHeight, cOtherItems);
    // No more in the menu itself than have a command, so that the chosen one keeps its own.
    room.nMenu = std::min<size_t>(room.nMenu, kProgramEntryIds);
    return room;
}

BOOL CBarDlg::SelectProgram()
{
    const BOOL bFound = m_pMixer->SelectProgramLine(m_dwProgram);
    TakeProgram(*this, m_dwProgram, ProgramName(CardPrograms(), m_dwProgram, m_wstrProgramName));
    return bFound;
}

void CBarDlg::OnChooseProgram(UINT nID)
{
    const UINT nEntry = nID - ID_PROGRAM_FIRST;
    if (nEntry >= m_programEntries.size())
        return;
    TakeProgram(*this, m_programEntries[nEntry].dwIdentity, m_programEntries[nEntry].wstrName);
    OnLineChange();
}

LRESULT CBarDlg::OnLineChange()
{
    // A program came, went or was renamed: the bar follows its own, which may play again.
    if (m_dwProgram == 0)
        return 0;
    SelectProgram();
    ShowDrivenLine();
    return 0;
}
