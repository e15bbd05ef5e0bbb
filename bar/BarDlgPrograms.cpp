// The programs that play on the bar's card (mixer/ProgramLines.h): their group in the popup
// menu, made afresh whenever the menu opens, and the program as the bar's line. The bar keeps the
// chosen program while none of its sessions is there, with the slider and the mute button
// disabled, and picks it up again when it plays, at the level it plays at.
#include "bar/BarDlg.h"

#include "bar/ProgramEntries.h"
#include "mixer/LineSelection.h"
#include "mixer/MixerDevice.h"
#include "res/resource.h"

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
    // 1. The group as the menu last showed it goes.
    for (UINT i = 0; i < m_cProgramItems; ++i)
        ::DeleteMenu(m_hMenuPopup, static_cast<UINT>(m_nProgramPosition), MF_BYPOSITION);
    m_cProgramItems = 0;
    // 2. The programs now, on an output bar's card.
    m_programEntries.clear();
    if (!m_bInput)
        m_programEntries = ProgramEntries(
            ReadProgramLines(reinterpret_cast<HMIXEROBJ>(m_pMixer->m_hMixer.Get()), MIXER_OBJECTF_HMIXER),
            m_dwProgram, m_strProgramName);
    if (m_programEntries.size() > kProgramEntryIds)
        m_programEntries.resize(kProgramEntryIds);
    if (m_programEntries.empty())
        return;
    // 3. A separator, then one radio entry per program, after the line entries.
    const BOOL bShown = ::IsWindowVisible(m_hWnd);
    m_nProgramPosition = PositionAfterLines(m_hMenuPopup);
    UINT nPosition = static_cast<UINT>(m_nProgramPosition);
    ::InsertMenuA(m_hMenuPopup, nPosition++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (UINT i = 0; i < m_programEntries.size(); ++i) {
        const SProgramEntry& entry = m_programEntries[i];
        const UINT nFlags = MF_BYPOSITION | MF_STRING | (entry.bGreyed || !bShown ? MF_GRAYED : MF_ENABLED);
        ::InsertMenuA(m_hMenuPopup, nPosition++, nFlags, ID_PROGRAM_FIRST + i, entry.strName.c_str());
        if (entry.bChosen)
            ::CheckMenuRadioItem(m_hMenuPopup, ID_PROGRAM_FIRST + i, ID_PROGRAM_FIRST + i,
                                 ID_PROGRAM_FIRST + i, MF_BYCOMMAND);
    }
    m_cProgramItems = static_cast<UINT>(m_programEntries.size()) + 1;
}

BOOL CBarDlg::SelectProgram()
{
    // The bar's own selection stays on the master, so that the stored line means what it did for a
    // copy that knows no programs.
    m_nMenuIndex = kMasterMenuIndex;
    m_dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
    const BOOL bFound = m_pMixer->SelectProgramLine(m_dwProgram);
    // The name that the card gives the program now, which it may have changed.
    if (bFound)
        m_strProgramName = m_pMixer->m_line.szName;
    return bFound;
}

void CBarDlg::ChooseProgram(DWORD dwIdentity, const std::string& strName)
{
    m_dwProgram = dwIdentity;
    m_strProgramName = strName;
    SelectProgram();
    SetLineToolTips(m_nMenuIndex);
    RefreshMuteState();
}

void CBarDlg::OnChooseProgram(UINT nID)
{
    const UINT nEntry = nID - ID_PROGRAM_FIRST;
    if (nEntry < m_programEntries.size())
        ChooseProgram(m_programEntries[nEntry].dwIdentity, m_programEntries[nEntry].strName);
}

LRESULT CBarDlg::OnLineChange()
{
    // A program came, went or was renamed: the bar follows its own, which may play again.
    if (m_dwProgram == 0)
        return 0;
    SelectProgram();
    SetLineToolTips(m_nMenuIndex);
    RefreshMuteState();
    return 0;
}
