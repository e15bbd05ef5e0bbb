// CRoleLauncher: starts copies for the menu's side and card commands, one bar for each card and
// side: the role of a bar that runs is not started again, nor one whose copy this launcher started
// and that is still on its way (a burst of the same command starts one copy).
//
//   if (const HWND hBar = m_launcher.StartUnlessRunning(role, copies)) ShowBar(hBar);
#pragma once

#include "app/InstanceRole.h"
#include "fw/ScopedHandles.h"

#include <windows.h>

#include <map>
#include <string>

class CRunningCopies;

class CRoleLauncher {
public:
    // The bar of the role when one runs, to be shown instead; otherwise null, with a copy started
    // through copies for the role unless the one started before is still starting.
    HWND StartUnlessRunning(const SInstanceRole& role, CRunningCopies& copies);

private:
    // The last copy started for each role word.
    std::map<std::string, CScopedKernelHandle> m_mapStarted;
};
