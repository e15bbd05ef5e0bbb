#include "app/CopyLock.h"

namespace {

// "Local\" is the logon session: copies of other users on the same machine keep their own
// settings and their own bars.
constexpr char kMutexName[] = "Local\\Quillmark.Sonobar.Copies";
constexpr DWORD kWaitLimitMs = 10000;

} // namespace

CCopyLock::CCopyLock()
{
    CScopedKernelHandle hMutex(::CreateMutexA(nullptr, FALSE, kMutexName));
    if (!hMutex)
        return;
    // WAIT_ABANDONED: a copy was killed while it held the lock, which is ours now all the same.
    const DWORD dwWait = ::WaitForSingleObject(hMutex.Get(), kWaitLimitMs);
    if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED)
        m_hMutex.Reset(hMutex.Detach());
}
