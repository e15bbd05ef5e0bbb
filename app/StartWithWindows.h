// Starting the program at logon: the value "Sonobar" of the user's Run key
// (HKCU\Software\Microsoft\Windows\CurrentVersion\Run) holding the quoted full path of this very
// program file and no role word, so that the first copy comes back on the last card and side.
// Nothing machine-wide, no scheduled task, no shortcut in the Startup folder.
// Task Manager's Startup tab and Settings turn an entry off without touching the Run value: they
// mark it disabled in the approval key (HKCU\...\Explorer\StartupApproved\Run), under the same
// name, and Windows then skips it at logon. Both keys together say what happens.
//
//   const CScopedRegKey run = OpenRunKey();
//   const CScopedRegKey approval = OpenApprovalKey();
//   const std::wstring wstrProgram = ThisProgramPath();
//   const bool bOn = StartsWithWindows(run.Get(), approval.Get(), wstrProgram);
//   if (!SetStartWithWindows(run.Get(), approval.Get(), wstrProgram, !bOn)) ...
#pragma once

#include "fw/ScopedHandles.h"

#include <windows.h>

#include <string>

// The name of the program's value in the Run key and in the approval key.
inline constexpr wchar_t kRunValueName[] = L"Sonobar";

// The Run value that starts the program file at wstrProgramPath: the path in quotes, so that
// blanks in it cannot end the file name early, and nothing after it.
std::wstring RunValueFor(const std::wstring& wstrProgramPath);

// Whether a Run value starts exactly that program file, with no role word. Paths are compared
// without regard to letter case, character by character, as the file system compares names.
bool StartsProgram(const std::wstring& wstrRunValue, const std::wstring& wstrProgramPath);

// The user's Run key, open for reading and writing; open for reading only where writing is
// refused (a policy), and null where it cannot be opened at all.
CScopedRegKey OpenRunKey();
// The user's approval key, opened the same way; null where there is none (nothing is marked).
CScopedRegKey OpenApprovalKey();

// Whether Windows starts the program file at wstrProgramPath at the next logon: hRun names it
// and hApproval does not mark it disabled. A program file that was moved or renamed since its
// value was written does not start.
bool StartsWithWindows(HKEY hRun, HKEY hApproval, const std::wstring& wstrProgramPath);

// Turns the start at logon on (bOn: the program's Run value written, a disabled mark taken
// away) or off (the Run value deleted). FALSE when the registry refused.
bool SetStartWithWindows(HKEY hRun, HKEY hApproval, const std::wstring& wstrProgramPath, bool bOn);
