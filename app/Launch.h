// Starting further copies of this program: one for another card or side (a menu command), or a
// fresh set of bars after the sound hardware changed. A copy learns its role only from its command
// tail, which is exactly one role word (app/InstanceRole.h).
#pragma once

#include "app/InstanceRole.h"
#include "fw/ScopedHandles.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

class CRunningCopies;

// The command line that starts the program at wstrProgramPath with the tail strRoleWord: the path
// quoted, so that blanks in it cannot end the program name early, one blank, the role word.
std::wstring LaunchCommandLine(const std::wstring& wstrProgramPath, const std::string& strRoleWord);

// The role words of the bars that replace the old ones after a change of the sound hardware: one
// output bar for each of the first mixer devices, at most three.
std::vector<std::string> RoleWordsAfterDeviceChange(UINT nDeviceCount);

// Starts this very program file (the running module, not whatever the search path finds under
// its name) with the tail strRoleWord, shown. The new process, or nothing when it could not be
// created; nothing waits for it.
CScopedKernelHandle LaunchCopy(const std::string& strRoleWord);

// Starts copies for the menu's side and card commands, one bar for each card and side: the role
// of a bar that runs is not started again, nor one whose copy this launcher started and that is
// still on its way (a burst of the same command starts one copy).
//
//   if (const HWND hBar = m_launcher.StartUnlessRunning(role, copies)) ShowBar(hBar);
class CRoleLauncher {
public:
    // The bar of the role when one runs, to be shown instead; otherwise null, with a copy started
    // through copies for the role unless the one started before is still starting.
    HWND StartUnlessRunning(const SInstanceRole& role, CRunningCopies& copies);

private:
    // The last copy started for each role word.
    std::map<std::string, CScopedKernelHandle> m_mapStarted;
};
