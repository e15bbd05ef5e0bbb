// The bar's popup menu: what it holds, which entries are greyed when it opens, and its commands
// that stay within this copy (the line, the two options, the keyboard move). Opening it is in
// BarDlgPopup.cpp; commands that start further copies are in BarDlgLaunch.cpp.
#include "bar/BarDlg.h"

#include "fw/ResourceString.h"
#include "fw/ScopedHandles.h"
#include "mixer/MixerCards.h"
#include "mixer/LineCatalogue.h"
#include "mixer/MixerDevice.h"
#include "res/resource.h"

#include <algorithm>
#include <vector>

namespace {

// Template 129's popup: positions 0 to 7 are fixed entries, 8 onward one per catalogue line, and
// position 18 holds the first card's id.
constexpr int kFixedEntries = 8;
constexpr int kFirstCardPosition = 18;
constexpr UINT kCardsWithCommands = 3;
constexpr int kMenuTextSize = 256;

UINT LineEntryId(int nLine)
{
    return ID_CONTROL2 + static_cast<UINT>(nLine);
}

void CheckEntry(HMENU hMenu, UINT nID, BOOL bChecked)
{
    ::CheckMenuItem(hMenu, nID, MF_BYCOMMAND | (bChecked ? MF_CHECKED : MF_UNCHECKED));
}

void EnableEntry(HMENU hMenu, UINT nID, BOOL bEnabled)
{
    ::EnableMenuItem(hMenu, nID, MF_BYCOMMAND | (bEnabled ? MF_ENABLED : MF_GRAYED));
}

std::string CardEntryText(UINT nCard)
{
    std::string strName;
    GetMixerCardName(nCard, strName);
    return "&" + std::to_string(nCard + 1) + ".  " + strName;
}

struct SOwnedWindows {
    HWND hOwner;
    std::vector<HWND> vecOwned;
};

BOOL CALLBACK AddOwnedWindow(HWND hWnd, LPARAM lParam)
{
    auto* pWindows = reinterpret_cast<SOwnedWindows*>(lParam);
    if (::GetWindow(hWnd, GW_OWNER) == pWindows->hOwner)
        pWindows->vecOwned.push_back(hWnd);
    return TRUE;
}

// Puts a window into the topmost band or takes it out. Wine places a window that owns others
// (the bar owns its tooltip) behind those when it is made topmost and leaves it out of the band,
// so its owned windows have no owner for that moment.
void SetTopmost(HWND hWnd, BOOL bTopmost)
{
    SOwnedWindows windows{hWnd, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &AddOwnedWindow, reinterpret_cast<LPARAM>(&windows));
    for (const HWND hOwned : windows.vecOwned)
        ::SetWindowLongPtrA(hOwned, GWLP_HWNDPARENT, 0);
    ::SetWindowPos(hWnd, bTopmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    for (const HWND hOwned : windows.vecOwned)
        ::SetWindowLongPtrA(hOwned, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hWnd));
}

} // namespace

void CBarDlg::BuildPopupMenu()
{
    // 1. The window menu, which the bar's initialisation has already given its about entry.
    m_hMenuPopup = ::GetSystemMenu(m_hWnd, FALSE);
    ::DeleteMenu(m_hMenuPopup, SC_SIZE, MF_BYCOMMAND);
    ::DeleteMenu(m_hMenuPopup, SC_MAXIMIZE, MF_BYCOMMAND);

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
            const BOOL bSelectable = probe.SelectLine(m_pCatalogue->GetComponentType(nLine), m_bInput);
            m_nLineState[nLine] = bSelectable ? MF_ENABLED : MF_GRAYED;
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

void CBarDlg::SetMenuMarks()
{
    CheckEntry(m_hMenuPopup, ID_START_IN_TRAY, m_bStartInTray);
    CheckEntry(m_hMenuPopup, ID_ALWAYS_ON_TOP, m_bAlwaysOnTop);
    ::CheckMenuRadioItem(m_hMenuPopup, ID_OUTPUT_VOLUME, ID_INPUT_VOLUME,
                         m_bInput ? ID_INPUT_VOLUME : ID_OUTPUT_VOLUME, MF_BYCOMMAND);
    ::CheckMenuRadioItem(m_hMenuPopup, ID_CARD1, ID_CARD3, ID_CARD1 + static_cast<UINT>(m_nCardIndex),
                         MF_BYCOMMAND);
    const UINT nLineEntry =
        m_nMenuIndex == static_cast<int>(kMasterMenuIndex) ? ID_MASTER_VOLUME : LineEntryId(m_nMenuIndex);
    ::CheckMenuRadioItem(m_hMenuPopup, ID_MASTER_VOLUME, ID_CONTROL10, nLineEntry, MF_BYCOMMAND);
}

LRESULT CBarDlg::OnInitMenuPopup(WPARAM, LPARAM)
{
    // A bar hidden in the tray offers only what makes sense without it: restore, close, about,
    // start in tray and the two sides.
    const BOOL bShown = ::IsWindowVisible(m_hWnd);
    EnableEntry(m_hMenuPopup, SC_RESTORE, !bShown);
    EnableEntry(m_hMenuPopup, SC_MINIMIZE, bShown);
    EnableEntry(m_hMenuPopup, SC_MOVE, bShown);
    EnableEntry(m_hMenuPopup, ID_ALWAYS_ON_TOP, bShown);
    EnableEntry(m_hMenuPopup, ID_MASTER_VOLUME, bShown && CountMixerCards() > 0);
    for (int nLine = 0; nLine < static_cast<int>(kCatalogueMenuLines); ++nLine)
        EnableEntry(m_hMenuPopup, LineEntryId(nLine), bShown && m_nLineState[nLine] == MF_ENABLED);
    for (UINT nID = ID_CARD1; nID <= ID_CARD3; ++nID)
        EnableEntry(m_hMenuPopup, nID, bShown);
    return 0;
}

void CBarDlg::OnMoveCommand(UINT)
{
    // Posted, so that the platform's move loop starts after the menu has gone; parameter 0
    // makes it a keyboard move.
    ::PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_MOVE, 0);
}

void CBarDlg::OnPlatformCommand(UINT nID)
{
    // An entry that the platform puts into every window menu and the bar has no command for
    // (Wine's "About Wine") does what it does from the window menu itself.
    ::PostMessageA(m_hWnd, WM_SYSCOMMAND, nID, 0);
}

void CBarDlg::OnUpdateStartInTray(CCmdUI&)
{
    // The option counts from the next start; nothing else changes now.
    m_bStartInTray = !m_bStartInTray;
    CheckEntry(m_hMenuPopup, ID_START_IN_TRAY, m_bStartInTray);
}

void CBarDlg::OnUpdateAlwaysOnTop(CCmdUI&)
{
    m_bAlwaysOnTop = !m_bAlwaysOnTop;
    CheckEntry(m_hMenuPopup, ID_ALWAYS_ON_TOP, m_bAlwaysOnTop);
}

void CBarDlg::OnAlwaysOnTop(UINT)
{
    SetTopmost(m_hWnd, m_bAlwaysOnTop);
}

void CBarDlg::OnUpdateLine(CCmdUI& state)
{
    ::CheckMenuRadioItem(m_hMenuPopup, ID_MASTER_VOLUME, ID_CONTROL10, state.m_nID, MF_BYCOMMAND);
}

void CBarDlg::OnMasterVolume(UINT)
{
    ChooseLine(kMasterMenuIndex, MasterComponentType(m_bInput));
}

void CBarDlg::OnChooseLine(UINT nID)
{
    const int nLine = static_cast<int>(nID - ID_CONTROL2);
    ChooseLine(nLine, m_pCatalogue->GetComponentType(nLine));
}

void CBarDlg::ChooseLine(int nMenuIndex, DWORD dwComponentType)
{
    // 1. The line on this bar's card and side; one that this card lacks leaves the slider and
    //    the mute button without controls.
    SelectLine(nMenuIndex, dwComponentType);
    // 2. Tooltips with the line's name, or the master's bare ones.
    SetLineToolTips(m_nMenuIndex);
    // 3. The slider, the mute picture and the tray icon show the new line.
    RefreshMuteState();
}
