// The bar's popup menu: what it holds, the state of its entries when it opens, and its commands
// that stay within this copy (the line, the two options). Opening it is in BarDlgPopup.cpp;
// commands that start further copies are in BarDlgLaunch.cpp, those of the tray in BarDlgTray.cpp.
#include "bar/BarDlg.h"

#include "app/Launch.h"
#include "app/StartWithWindows.h"
#include "fw/ResourceString.h"
#include "fw/ScopedHandles.h"
#include "mixer/MixerCards.h"
#include "mixer/LineCatalogue.h"
#include "mixer/MixerDevice.h"
#include "res/resource.h"

#include <algorithm>
#include <vector>

namespace {

// Template 129's popup: positions 0 to 9 are fixed entries, 10 onward one per catalogue line, and
// position 20 holds the first card's id.
constexpr int kFixedEntries = 10;
constexpr int kFirstCardPosition = 20;
constexpr UINT kCardsWithCommands = 3;
constexpr int kMenuTextSize = 256;

bool Shown(const CBarDlg& bar, UINT = 0)
{
    return ::IsWindowVisible(bar.m_hWnd) != FALSE;
}

// The state of the menu's entries, set whenever it opens (as the platform's window menu too),
// one row per command or group of commands: whether an entry can be chosen (without pfnEnabled it
// is left as it is), whether a check entry is checked, and which entry of a radio group carries
// the mark (none, when the row does not hold it). The state steps toggle the options and the
// commands move the selection; the marks follow here. A bar hidden in the tray offers only what
// makes sense without it: restore, close, about, start in tray and the two sides.
struct SCommandState {
    UINT nFirstID;
    UINT nLastID;
    bool (*pfnEnabled)(const CBarDlg& bar, UINT nID) = nullptr;
    bool (*pfnChecked)(const CBarDlg& bar) = nullptr;
    UINT (*pfnMarked)(const CBarDlg& bar) = nullptr;
};

constexpr SCommandState kCommandStates[] = {
    {SC_RESTORE, SC_RESTORE, [](const CBarDlg& bar, UINT) { return !Shown(bar); }},
    {SC_MOVE, SC_MOVE, &Shown},
    {SC_MINIMIZE, SC_MINIMIZE, &Shown},
    {ID_START_IN_TRAY, ID_START_IN_TRAY, nullptr, [](const CBarDlg& bar) { return bar.m_bStartInTray != 0; }},
    {ID_ALWAYS_ON_TOP, ID_ALWAYS_ON_TOP, &Shown, [](const CBarDlg& bar) { return bar.m_bAlwaysOnTop != 0; }},
    // What the Run and approval keys hold, which another copy, the user, Task Manager or a moved
    // program file may change.
    {ID_START_WITH_WINDOWS, ID_START_WITH_WINDOWS, nullptr,
     [](const CBarDlg&) {
         return StartsWithWindows(OpenRunKey().Get(), OpenApprovalKey().Get(), ThisProgramPath());
     }},
    {ID_OUTPUT_VOLUME, ID_INPUT_VOLUME, nullptr, nullptr,
     [](const CBarDlg& bar) -> UINT { return bar.m_bInput ? ID_INPUT_VOLUME : ID_OUTPUT_VOLUME; }},
    // The master needs a card at all; a numbered line, one that this card and side have.
    {ID_MASTER_VOLUME, ID_CONTROL10,
     [](const CBarDlg& bar, UINT nID) {
         return Shown(bar) && (nID == ID_MASTER_VOLUME ? CountMixerCards() > 0
                                                       : bar.m_bLineSelectable[nID - ID_CONTROL2] != FALSE);
     },
     nullptr, [](const CBarDlg& bar) { return MarkedLineEntry(bar); }},
    // A program can be chosen while one of its sessions is there (no command past the entries the
    // menu lists); the chosen one has the mark.
    {ID_PROGRAM_FIRST, ID_PROGRAM_LAST,
     [](const CBarDlg& bar, UINT nID) {
         const UINT nEntry = nID - ID_PROGRAM_FIRST;
         return Shown(bar) && nEntry < bar.m_programEntries.size() && !bar.m_programEntries[nEntry].bGreyed;
     },
     nullptr,
     [](const CBarDlg& bar) -> UINT {
         for (UINT nID = ID_PROGRAM_FIRST; const SProgramEntry& entry : bar.m_programEntries) {
             if (entry.bChosen)
                 return nID;
             ++nID;
         }
         return 0;
     }},
    {ID_CARD1, ID_CARD3, &Shown, nullptr,
     [](const CBarDlg& bar) -> UINT { return ID_CARD1 + static_cast<UINT>(bar.m_nCardIndex); }},
};

std::string CardEntryText(UINT nCard)
{
    std::string strName;
    GetMixerCardName(nCard, strName);
    return "&" + std::to_string(nCard + 1) + ".  " + strName;
}

} // namespace

void CBarDlg::BuildPopupMenu()
{
    // 1. The window menu, without size and maximise (the bar has one size), and the about entry.
    m_hMenuPopup = ::GetSystemMenu(m_hWnd, FALSE);
    ::DeleteMenu(m_hMenuPopup, SC_SIZE, MF_BYCOMMAND);
    ::DeleteMenu(m_hMenuPopup, SC_MAXIMIZE, MF_BYCOMMAND);
    if (const std::string strAbout = LoadResourceString(IDS_ABOUT); !strAbout.empty()) {
        ::AppendMenuA(m_hMenuPopup, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(m_hMenuPopup, MF_STRING, ID_ABOUT, strAbout.c_str());
    }

    // 2. The template: its separators are entries whose text is the marker.
    const std::string strSeparator = LoadResourceString(IDS_SEPARATOR);
    const CScopedMenu menuTemplate(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_BAR_MENU)));
    const HMENU hTemplate = ::GetSubMenu(menuTemplate.Get(), 0);

    // 3. A second connection to this bar's card tells which of device 0's lines this card and
    //    side have.
    CMixerDevice probe(m_hWnd);
    probe.Open(static_cast<UINT>(m_nCardIndex));

    // 4. The fixed entries, then one entry per source of device 0's speakers. Only nine lines have
    //    ids, so a card with more sources shows its first nine. The catalogue keeps no count: it
    //    is asked for every position.
    const auto bound = [this] {
        return kFixedEntries +
               static_cast<int>(std::min(m_pCatalogue->GetSpeakerSourceCount(), kCatalogueMenuLines));
    };
    for (int i = 0; i < bound(); ++i) {
        char szText[kMenuTextSize] = {};
        ::GetMenuStringA(hTemplate, static_cast<UINT>(i), szText, sizeof szText, MF_BYPOSITION);
        std::string strText = szText;
        if (i >= kFixedEntries) {
            // A line whose name cannot be read keeps the template's own text: never the name of
            // the line before it, which would offer the same line twice.
            const int nLine = i - kFixedEntries;
            m_pCatalogue->GetLineName(nLine, strText);
            m_bLineSelectable[nLine] = probe.SelectLine(m_pCatalogue->GetComponentType(nLine), m_bInput);
        }
        if (strText == strSeparator)
            ::AppendMenuA(m_hMenuPopup, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuA(m_hMenuPopup, MF_STRING, ::GetMenuItemID(hTemplate, i), strText.c_str());
    }

    // 5. The cards, when there is a choice. The template has ids for three; a further card is
    //    listed greyed, as it has no command.
    const UINT nDevices = CountMixerCards();
    if (nDevices > 1) {
        ::AppendMenuA(m_hMenuPopup, MF_SEPARATOR, 0, nullptr);
        for (UINT nCard = 0; nCard < nDevices; ++nCard) {
            const std::string strText = CardEntryText(nCard);
            if (nCard < kCardsWithCommands)
                ::AppendMenuA(m_hMenuPopup, MF_STRING,
                              ::GetMenuItemID(hTemplate, kFirstCardPosition + static_cast<int>(nCard)),
                              strText.c_str());
            else
                ::AppendMenuA(m_hMenuPopup, MF_STRING | MF_GRAYED, 0, strText.c_str());
        }
    }
}

LRESULT CBarDlg::OnInitMenuPopup(WPARAM wMenu, LPARAM)
{
    // The programs' submenu opens inside the menu, which is ready: made afresh, it would go while
    // it shows.
    if (m_hMorePrograms && reinterpret_cast<HMENU>(wMenu) == m_hMorePrograms)
        return 0;
    // The programs' group is made afresh (BarDlgPrograms.cpp), then every entry takes its state.
    UpdateProgramEntries();
    for (const SCommandState& row : kCommandStates) {
        for (UINT nID = row.nFirstID; nID <= row.nLastID; ++nID) {
            if (row.pfnEnabled)
                ::EnableMenuItem(m_hMenuPopup, nID,
                                 MF_BYCOMMAND | (row.pfnEnabled(*this, nID) ? MF_ENABLED : MF_GRAYED));
            // A group's mark entry by entry: CheckMenuRadioItem over the group wants its first and
            // last entries in the menu, and a card with few lines or one card has neither.
            if (row.pfnMarked && row.pfnMarked(*this) == nID)
                ::CheckMenuRadioItem(m_hMenuPopup, nID, nID, nID, MF_BYCOMMAND);
            else if (row.pfnChecked || row.pfnMarked)
                ::CheckMenuItem(m_hMenuPopup, nID,
                                MF_BYCOMMAND |
                                    (row.pfnChecked && row.pfnChecked(*this) ? MF_CHECKED : MF_UNCHECKED));
        }
    }
    return 0;
}

void CBarDlg::OnUpdateStartInTray(CCmdUI&)
{
    // The option counts from the next start; nothing else changes now.
    m_bStartInTray = !m_bStartInTray;
}

void CBarDlg::OnUpdateAlwaysOnTop(CCmdUI&)
{
    m_bAlwaysOnTop = !m_bAlwaysOnTop;
}

void CBarDlg::OnStartWithWindows()
{
    // What happens at logon decides: an entry that the user turned off in Task Manager is
    // turned on again. The mark is read back from the registry when the menu opens next.
    const CScopedRegKey run = OpenRunKey();
    const CScopedRegKey approval = OpenApprovalKey();
    const std::wstring wstrProgram = ThisProgramPath();
    SetStartWithWindows(run.Get(), approval.Get(), wstrProgram,
                        !StartsWithWindows(run.Get(), approval.Get(), wstrProgram));
}

void CBarDlg::OnAlwaysOnTop()
{
    SetTopmost(m_bAlwaysOnTop);
}

void CBarDlg::SetTopmost(BOOL bTopmost)
{
    // Wine places a window that owns others (the bar owns its tooltip) behind those when it is
    // made topmost and leaves it out of the band, so its owned windows have no owner for that
    // moment. Never activated: the bar shown for its keys leaves the keyboard where it is.
    const std::vector<HWND> vecOwned = OwnedWindows();
    for (const HWND hOwned : vecOwned)
        ::SetWindowLongPtrA(hOwned, GWLP_HWNDPARENT, 0);
    ::SetWindowPos(m_hWnd, bTopmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (const HWND hOwned : vecOwned)
        ::SetWindowLongPtrA(hOwned, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(m_hWnd));
}

void CBarDlg::OnMasterVolume()
{
    ChooseLine(kMasterMenuIndex, MasterComponentType(m_bInput));
}

void CBarDlg::OnChooseLine(UINT nID)
{
    // Only a line that the menu lists is a choice: not one past the catalogue's lines, nor one
    // whose name made it a separator. GetMenuState answers -1 for an entry that is not there.
    if (::GetMenuState(m_hMenuPopup, nID, MF_BYCOMMAND) == static_cast<UINT>(-1))
        return;
    const int nLine = static_cast<int>(nID - ID_CONTROL2);
    ChooseLine(nLine, m_pCatalogue->GetComponentType(nLine));
}

void CBarDlg::ChooseLine(int nMenuIndex, DWORD dwComponentType)
{
    // A line that this card lacks leaves the slider and the mute button without controls; the
    // menu's mark follows the menu index all the same.
    SelectLine(nMenuIndex, dwComponentType);
    ShowDrivenLine();
}
