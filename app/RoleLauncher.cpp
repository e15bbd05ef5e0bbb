#include "app/RoleLauncher.h"

#include "app/BarWindows.h"
#include "app/RunningCopies.h"

HWND CRoleLauncher::StartUnlessRunning(const SInstanceRole& role, CRunningCopies& copies)
{
    if (const HWND hBar = FindBarFor(role))
        return hBar;
    // A copy still running without a bar that tells its role is still starting: it shows its bar
    // when it is ready.
    const std::string strRoleWord = MakeRoleWord(role.bInput, role.nCardIndex);
    CScopedKernelHandle& hStarted = m_mapStarted[strRoleWord];
    if (hStarted && ::WaitForSingleObject(hStarted.Get(), 0) == WAIT_TIMEOUT)
        return nullptr;
    hStarted = copies.Launch(strRoleWord);
    return nullptr;
}
