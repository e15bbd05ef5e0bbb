// CBarAccessibility: the bar as a screen reader reads it. The controls' window texts name them
// ("Volume", "Mute" with Alt+M, "Menu" with Alt+U) and the trackbar reports its own position;
// this adds, through IAccessibleNotes, the slider's name for readers that look for it elsewhere,
// the line that the slider and the mute button drive as their descriptions, and the mute button
// pressed while the line is muted, with the event that makes a reader say so at once.
//
//   m_accessibility.Start(CreateSystemAccessibleNotes(), m_sliderVolume.m_hWnd, m_btnMute.m_hWnd);
//   m_accessibility.DescribeLine(L"Wave Volume (Lo...Hi)", L"Wave Mute (M)");
//   m_accessibility.ShowMuted(true);
#pragma once

#include "bar/AccessibleNotes.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

class CBarAccessibility {
public:
    // pNotes may be null: the window texts then speak alone.
    void Start(std::unique_ptr<IAccessibleNotes> pNotes, HWND hSlider, HWND hMuteButton);
    // The texts that tell which line the slider and the mute button drive (their tooltips'); a
    // reader hears of them when they differ from the last.
    void DescribeLine(const std::wstring& wstrSliderText, const std::wstring& wstrMuteText);
    void ShowMuted(bool bMuted);
    // Takes the notes back; before the controls go.
    void Stop();

private:
    std::unique_ptr<IAccessibleNotes> m_pNotes;
    HWND m_hSlider = nullptr;
    HWND m_hMuteButton = nullptr;
    // What the mute button reported last; nothing before the first report.
    std::optional<bool> m_bMuted;
    std::wstring m_wstrSliderText;
    std::wstring m_wstrMuteText;
};
