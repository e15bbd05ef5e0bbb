#include "app/CopyLock.h"

#include <utility>

namespace {

// "Local\" is the logon session: copies of other users on the same machine keep their own
// settings and their own bars.
constexpr char kMutexName[] = "Local\\Quillmark.Sonobar.Copies";
constexpr DWORD kWaitLimitMs = 10000;

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
    Release();
}

CCopyLock::CCopyLock(CCopyLock&& other) noexcept
    : m_hMutex(std::move(other.m_hMutex)), m_bHeld(std::exchange(other.m_bHeld, FALSE))
{
}

CCopyLock& CCopyLock::operator=(CCopyLock&& other) noexcept
{
    if (this != &other) {
        Release();
        m_hMutex = std::move(other.m_hMutex);
        m_bHeld = std::exchange(other.m_bHeld, FALSE);
    }
    return *this;
}

void CCopyLock::Release()
{
    // A mutex belongs to the thread that took it: the lock is given back on that thread.
    if (m_bHeld)
        ::ReleaseMutex(m_hMutex.Get());
    m_bHeld = FALSE;
}
