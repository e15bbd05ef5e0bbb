// CCriticalSection: a lock between the program's own threads (the user-interface thread and the
// threads on which the system calls the program back), on the system's critical section, so
// that the program needs no threads library. It meets the standard's BasicLockable, so a scope
// takes it with CCriticalSectionLock (or std::lock_guard).
//
//   mutable CCriticalSection m_lock;
//   const CCriticalSectionLock lock(m_lock);
#pragma once

#include <windows.h>

class CCriticalSection {
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_section); }
    ~CCriticalSection() { ::DeleteCriticalSection(&m_section); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void lock() { ::EnterCriticalSection(&m_section); }
    void unlock() { ::LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

// Holds a CCriticalSection for the scope.
class CCriticalSectionLock {
public:
    explicit CCriticalSectionLock(CCriticalSection& section) : m_section(section) { m_section.lock(); }
    ~CCriticalSectionLock() { m_section.unlock(); }
    CCriticalSectionLock(const CCriticalSectionLock&) = delete;
    CCriticalSectionLock& operator=(const CCriticalSectionLock&) = delete;

private:
    CCriticalSection& m_section;
};
