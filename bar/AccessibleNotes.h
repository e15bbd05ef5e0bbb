// What the bar tells screen readers beyond what they find in its controls' window texts and
// styles: notes on a control (a name, a description, a button that is pressed) handed to the
// platform's dynamic annotation (IAccPropServices), which Active Accessibility's clients such as
// Narrator and NVDA read in place of the platform's own answers.
//
//   std::unique_ptr<IAccessibleNotes> pNotes = CreateSystemAccessibleNotes();  // null without it
//   if (pNotes) pNotes->SetPressed(hMuteButton, true);
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class IAccessibleNotes {
public:
    virtual ~IAccessibleNotes() = default;
    // The control's name and description.
    virtual void SetName(HWND hWnd, const std::wstring& wstrName) = 0;
    virtual void SetDescription(HWND hWnd, const std::wstring& wstrDescription) = 0;
    // A button that stands for something switched on (the mute button of a muted line) reads
    // as pressed.
    virtual void SetPressed(HWND hWnd, bool bPressed) = 0;
};

// The platform's annotation service, created at run time so that the program imports nothing
// for it; null where the system lacks it, and the window texts then speak alone. The notes are
// taken back when the object goes, which must be before the controls go.
std::unique_ptr<IAccessibleNotes> CreateSystemAccessibleNotes();
