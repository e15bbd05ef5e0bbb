#include "bar/BarAccessibility.h"

#include <iterator>
#include <utility>

namespace {

std::wstring WindowText(HWND hWnd)
{
    wchar_t szText[64] = {};
    ::GetWindowTextW(hWnd, szText, static_cast<int>(std::size(szText)));
    return szText;
}

} // namespace

void CBarAccessibility::Start(std::unique_ptr<IAccessibleNotes> pNotes, HWND hSlider, HWND hMuteButton)
{
    m_pNotes = std::move(pNotes);
    m_hSlider = hSlider;
    m_hMuteButton = hMuteButton;
    m_bMuted.reset();
    m_wstrSliderText.clear();
    m_wstrMuteText.clear();
    // Windows' own trackbar object looks for its name in a label beside it, which the bar has
    // not: the slider's window text is its name.
    if (m_pNotes)
        m_pNotes->SetName(m_hSlider, WindowText(m_hSlider));
}

void CBarAccessibility::DescribeLine(const std::wstring& wstrSliderText, const std::wstring& wstrMuteText)
{
    if (!m_pNotes || (wstrSliderText == m_wstrSliderText && wstrMuteText == m_wstrMuteText))
        return;
    m_wstrSliderText = wstrSliderText;
    m_wstrMuteText = wstrMuteText;
    m_pNotes->SetDescription(m_hSlider, wstrSliderText);
    m_pNotes->SetDescription(m_hMuteButton, wstrMuteText);
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
