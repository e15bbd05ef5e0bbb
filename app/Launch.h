// Starting further copies of this program: one for another card or side (a menu command), or a
// fresh set of bars after the sound hardware changed. A copy learns its role only from its command
// tail, which is exactly one role word (app/InstanceRole.h). The rules of when a copy is started
// are CRunningCopies' (app/RunningCopies.h) and CRoleLauncher's (app/RoleLauncher.h).
#pragma once

#include "fw/ScopedHandles.h"

#include <windows.h>

#include <string>
#include <vector>

// The full path of the running program file, however long it is; empty when it cannot be told.
std::wstring ThisProgramPath();

// The command line that starts the program at wstrProgramPath with the tail strRoleWord: the path
// quoted, so that blanks in it cannot end the program name early, one blank, the role word.
std::wstring LaunchCommandLine(const std::wstring& wstrProgramPath, const std::string& strRoleWord);

// The role words of the bars that replace the old ones after a change of the sound hardware: one
// output bar for each of the first mixer devices, at most three, card 0 first. Without any device
// one bar all the same, which tells that there is no driver and restarts the set when a card
// appears: with none the program would be gone for good.
std::vector<std::string> RoleWordsAfterDeviceChange(UINT nDeviceCount);

// Starts this very program file (the running module, not whatever the search path finds under
// its name) with the tail strRoleWord, shown. The new process, or nothing when it could not be
// created; nothing waits for it.
CScopedKernelHandle LaunchCopy(const std::string& strRoleWord);
