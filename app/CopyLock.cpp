#include "app/CopyLock.h"

#include <memory>

namespace {

// "Local\" is the logon session: copies of other users on the same machine keep their own
// settings and their own bars.
constexpr char kMutexName[] = "Local\\Quillmark.Sonobar.Copies";
constexpr DWORD kWaitLimitMs = 10000;

std::unique_ptr<CCopyLock> g_pStartLock;

} // namespace

CCopyLock::CCopyLock() : m_hMutex(::CreateMutexA(nullptr, FALSE, kMutexName))
{
    if (!m_hMutex)
        return;
    // WAIT_ABANDONED: a copy was killed while it held the lock, which is ours now all the same.
    const DWORD dwWait = ::WaitForSingleObject(m_hMutex.Get(), kWaitLimitMs);
    m_bHeld = dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED;
}

CCopyLock::~CCopyLock()
{
    if (m_bHeld)
        ::ReleaseMutex(m_hMutex.Get());
}

void BeginCopyStart()
{
    g_pStartLock = std::make_unique<CCopyLock>();
}

void EndCopyStart()
{
    g_pStartLock.reset();
}
