// Starting further copies of this program: one for another card or side (a menu command), or a
// fresh set of bars after the sound hardware changed. A copy learns its role only from its command
// tail, which is exactly one role word (app/InstanceRole.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The command line that starts the program at wstrProgramPath with the tail strRoleWord: the path
// quoted, so that blanks in it cannot end the program name early, one blank, the role word.
std::wstring LaunchCommandLine(const std::wstring& wstrProgramPath, const std::string& strRoleWord);

// The role words of the bars that replace the old ones after a change of the sound hardware: one
// output bar for each of the first mixer devices, at most three.
std::vector<std::string> RoleWordsAfterDeviceChange(UINT nDeviceCount);

// Starts this very program file (the running module, not whatever the search path finds under
// its name) with the tail strRoleWord, shown. TRUE when the process was created; nothing waits
// for it.
BOOL LaunchCopy(const std::string& strRoleWord);
