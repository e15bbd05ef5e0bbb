#include "bar/BarAccessibility.h"

#include <utility>

namespace {

std::string WindowText(HWND hWnd)
{
    char szText[64] = {};
    ::GetWindowTextA(hWnd, szText, sizeof szText);
    return szText;
}

} // namespace

void CBarAccessibility::Start(std::unique_ptr<IAccessibleNotes> pNotes, HWND hSlider, HWND hMuteButton)
{
    m_pNotes = std::move(pNotes);
    m_hSlider = hSlider;
    m_hMuteButton = hMuteButton;
    m_bMuted.reset();
    // Windows' own trackbar object looks for its name in a label beside it, which the bar has
    // not: the slider's window text is its name.
    if (m_pNotes)
        m_pNotes->SetName(m_hSlider, WindowText(m_hSlider));
}

void CBarAccessibility::DescribeLine(const std::string& strSliderText, const std::string& strMuteText)
{
    if (!m_pNotes)
        return;
    m_pNotes->SetDescription(m_hSlider, strSliderText);
    m_pNotes->SetDescription(m_hMuteButton, strMuteText);
    ::NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, m_hSlider, OBJID_CLIENT, CHILDID_SELF);
    ::NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, m_hMuteButton, OBJID_CLIENT, CHILDID_SELF);
}

void CBarAccessibility::ShowMuted(bool bMuted)
{
    if (m_bMuted == bMuted)
        return;
    const bool bFlipped = m_bMuted.has_value();
    m_bMuted = bMuted;
    if (m_pNotes)
        m_pNotes->SetPressed(m_hMuteButton, bMuted);
    // The bar's own toggle or another program's change alike: a reader that watches the button
    // hears it is pressed or not any more.
    if (bFlipped)
        ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, m_hMuteButton, OBJID_CLIENT, CHILDID_SELF);
}

void CBarAccessibility::Stop()
{
    m_pNotes.reset();
}
