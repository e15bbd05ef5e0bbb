// Starting the program at logon: the value "Sonobar" of the user's Run key
// (HKCU\Software\Microsoft\Windows\CurrentVersion\Run) holding the quoted full path of this very
// program file and no role word, so that the first copy comes back on the last card and side.
// Nothing machine-wide, no scheduled task, no shortcut in the Startup folder.
//
//   const CScopedRegKey key = OpenRunKey();
//   const std::wstring wstrProgram = ThisProgramPath();
//   if (!SetStartWithWindows(key.Get(), wstrProgram, !StartsWithWindows(key.Get(), wstrProgram))) ...
#pragma once

#include "fw/ScopedHandles.h"

#include <windows.h>

#include <string>

// The name of the program's value in the Run key.
inline constexpr wchar_t kRunValueName[] = L"Sonobar";

// The Run value that starts the program file at wstrProgramPath: the path in quotes, so that
// blanks in it cannot end the file name early, and nothing after it.
std::wstring RunValueFor(const std::wstring& wstrProgramPath);

// Whether a Run value starts exactly that program file, with no role word. Paths are compared
// without regard to letter case, as the file system does.
bool StartsProgram(const std::wstring& wstrRunValue, const std::wstring& wstrProgramPath);

// The user's Run key, open for reading and writing; open for reading only where writing is
// refused (a policy), and null where it cannot be opened at all.
CScopedRegKey OpenRunKey();

// Whether the Run key hRun starts the program file at wstrProgramPath. A program file that was
// moved or renamed since its value was written does not.
bool StartsWithWindows(HKEY hRun, const std::wstring& wstrProgramPath);

// Writes the program's value for wstrProgramPath into hRun (bOn), or deletes it. FALSE when the
// registry refused; the value is then as it was.
bool SetStartWithWindows(HKEY hRun, const std::wstring& wstrProgramPath, bool bOn);
