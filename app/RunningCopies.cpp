#include "app/RunningCopies.h"

#include "app/BarWindows.h"
#include "app/Launch.h"
#include "app/Settings.h"
#include "app/StartupValues.h"
#include "res/resource.h"

#include <utility>
#include <vector>

namespace {

constexpr char kRecordName[] = "Local\\Quillmark.Sonobar.Copies.Record";
// Copies started by other copies and not yet running, at one time: a device change starts three.
constexpr int kStartingSlots = 16;
// How long the last copy of a set waits for one bar of the fresh set to stand before it starts
// the next: a copy that hangs must not keep the rest of the set from starting.
constexpr DWORD kStandLimitMs = 10000;

struct SStartingCopy {
    DWORD dwProcessId;
    FILETIME ftCreated;
    LONG nChangesAtStart;
};

FILETIME CreationTime(HANDLE hProcess)
{
    // Created, exited, kernel and user time.
    FILETIME aftTimes[4]{};
    ::GetProcessTimes(hProcess, &aftTimes[0], &aftTimes[1], &aftTimes[2], &aftTimes[3]);
    return aftTimes[0];
}

bool CreatedAt(HANDLE hProcess, const FILETIME& ftCreated)
{
    const FILETIME ftProcess = CreationTime(hProcess);
    return ftProcess.dwLowDateTime == ftCreated.dwLowDateTime &&
           ftProcess.dwHighDateTime == ftCreated.dwHighDateTime;
}

bool IsThisProcess(const SStartingCopy& copy)
{
    return copy.dwProcessId == ::GetCurrentProcessId() && CreatedAt(::GetCurrentProcess(), copy.ftCreated);
}

// A process id is used again once its process has ended; the creation time tells the copy that
// was started from a later process with the same id.
bool IsRunning(const SStartingCopy& copy)
{
    const CScopedKernelHandle hProcess(
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, copy.dwProcessId));
    return hProcess && CreatedAt(hProcess.Get(), copy.ftCreated) &&
           ::WaitForSingleObject(hProcess.Get(), 0) == WAIT_TIMEOUT;
}

bool IsAbove(const RECT& rcA, const POINT& ptB)
{
    return rcA.top < ptB.y || (rcA.top == ptB.y && rcA.left < ptB.x);
}

} // namespace

// What the copies share besides the settings. A named mapping of the paging file, zero when the
// first copy creates it, gone when the last copy ends. Every member but nDeviceChanges is read
// and written only with the turn.
struct CRunningCopies::SRecord {
    LONG nDeviceChanges;
    BOOL bReplacingSet;
    POINT ptSetTop;
    SStartingCopy starting[kStartingSlots];
};

CStartTurn::CStartTurn(CRunningCopies& copies, CCopyLock lock) : m_pCopies(&copies), m_lock(std::move(lock))
{
}

CStartTurn::~CStartTurn()
{
    End();
}

CStartTurn::CStartTurn(CStartTurn&& other) noexcept
    : m_pCopies(std::exchange(other.m_pCopies, nullptr)), m_lock(std::move(other.m_lock))
{
    other.m_lock.reset();
}

void CStartTurn::End()
{
    if (CRunningCopies* pCopies = std::exchange(m_pCopies, nullptr))
        pCopies->LeaveStarting();
    m_lock.reset();
}

CRunningCopies::CRunningCopies(CCopyStarter startCopy)
    : m_startCopy(startCopy ? std::move(startCopy) : CCopyStarter(&LaunchCopy)),
      m_hMapping(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SRecord),
                                      kRecordName))
{
    if (m_hMapping)
        m_view.Reset(::MapViewOfFile(m_hMapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(SRecord)));
    m_nChangesAtStart = DeviceChanges();
}

CRunningCopies::SRecord* CRunningCopies::Record() const
{
    return static_cast<SRecord*>(m_view.Get());
}

LONG CRunningCopies::DeviceChanges() const
{
    SRecord* pRecord = Record();
    return pRecord ? ::InterlockedCompareExchange(&pRecord->nDeviceChanges, 0, 0) : 0;
}

CStartTurn CRunningCopies::BeginStart()
{
    CCopyLock turn;
    // A copy that another copy started was listed with the count of changes at that moment.
    if (SRecord* pRecord = Record()) {
        for (const SStartingCopy& copy : pRecord->starting) {
            if (IsThisProcess(copy))
                m_nChangesAtStart = copy.nChangesAtStart;
        }
    }
    g_bFirstInstance = FindOtherBars(nullptr).empty() ? 1 : 0;
    if (g_bFirstInstance)
        WriteSetting(IDS_INSTANCE_COUNT, 0);
    return CStartTurn(*this, std::move(turn));
}

void CRunningCopies::Raise()
{
    if (m_bCounted)
        return;
    WriteSetting(IDS_INSTANCE_COUNT, ReadSetting(IDS_INSTANCE_COUNT, 0) + 1);
    m_bCounted = TRUE;
}

void CRunningCopies::Lower()
{
    if (!m_bCounted)
        return;
    // With the turn, so that a copy starting or leaving at the same moment does not lose this change.
    const CCopyLock turn;
    WriteSetting(IDS_INSTANCE_COUNT, ReadSetting(IDS_INSTANCE_COUNT, 1) - 1);
    m_bCounted = FALSE;
}

BOOL CRunningCopies::MissedDeviceChange() const
{
    return Record() && DeviceChanges() != m_nChangesAtStart;
}

void CRunningCopies::NoteDeviceChange()
{
    if (SRecord* pRecord = Record())
        ::InterlockedIncrement(&pRecord->nDeviceChanges);
}

CCopyLock CRunningCopies::TakeTurn() const
{
    return CCopyLock();
}

void CRunningCopies::NoteSetPlace()
{
    SRecord* pRecord = Record();
    if (!pRecord)
        return;
    for (const HWND hBar : FindOtherBars(nullptr)) {
        RECT rc{};
        ::GetWindowRect(hBar, &rc);
        if (!pRecord->bReplacingSet || IsAbove(rc, pRecord->ptSetTop)) {
            pRecord->ptSetTop = POINT{rc.left, rc.top};
            pRecord->bReplacingSet = TRUE;
        }
    }
}

BOOL CRunningCopies::IsLastCopy(HWND hWndSelf) const
{
    // The counter alone misleads: a copy that was killed never lowered it, and a copy that is
    // starting has not raised it yet. The bars and the copies starting are what is there; a copy
    // killed while it was starting will never start.
    if (!FindOtherBars(hWndSelf).empty())
        return FALSE;
    const SRecord* pRecord = Record();
    if (!pRecord)
        return TRUE;
    for (const SStartingCopy& copy : pRecord->starting) {
        if (copy.dwProcessId != 0 && !IsThisProcess(copy) && IsRunning(copy))
            return FALSE;
    }
    return TRUE;
}

void CRunningCopies::EndForDeviceChange(HWND hBar, const std::function<void()>& endBar,
                                        const std::function<UINT()>& countCards)
{
    // 1. Every copy ends. They take turns, each deciding whether it is the last and then ending
    //    before the next one looks; so exactly the last one sees no other bar and no copy
    //    starting, even when all of them got the change at the same moment.
    BOOL bLast = FALSE;
    LONG nChangesSeen = 0;
    {
        const CCopyLock turn;
        NoteSetPlace();
        bLast = IsLastCopy(hBar);
        nChangesSeen = DeviceChanges();
        // 2. Its end saves the settings and takes it off the counter.
        endBar();
    }
    // 3. The last one starts the fresh set. Not with the turn: each new copy takes it to start.
    if (bLast)
        StartFreshSet(countCards(), nChangesSeen);
}

void CRunningCopies::StartFreshSet(UINT nCards, LONG nChangesSeen)
{
    for (const std::string& strRoleWord : RoleWordsAfterDeviceChange(nCards)) {
        CScopedKernelHandle hCopy;
        {
            const CCopyLock turn;
            // A change after this one ends the set that is starting, and its last copy starts
            // the set again.
            if (DeviceChanges() != nChangesSeen)
                return;
            // The first new bar finds no other bar and takes the stored place: the set's top, not
            // the place of whichever copy happens to end last. The later ones open beneath it.
            if (SRecord* pRecord = Record(); pRecord && pRecord->bReplacingSet) {
                WriteSetting(IDS_X_COORDINATE, pRecord->ptSetTop.x);
                WriteSetting(IDS_Y_COORDINATE, pRecord->ptSetTop.y);
                pRecord->bReplacingSet = FALSE;
            }
            hCopy = LaunchListed(strRoleWord);
        }
        // Idle is how a new copy shows that its start is over and its bar stands in its place.
        if (hCopy)
            ::WaitForInputIdle(hCopy.Get(), kStandLimitMs);
    }
}

CScopedKernelHandle CRunningCopies::Launch(const std::string& strRoleWord)
{
    // With the turn, so that the new copy, which waits for it, finds itself listed.
    const CCopyLock turn;
    return LaunchListed(strRoleWord);
}

CScopedKernelHandle CRunningCopies::LaunchListed(const std::string& strRoleWord)
{
    CScopedKernelHandle hProcess = m_startCopy(strRoleWord);
    SRecord* pRecord = Record();
    if (!hProcess || !pRecord)
        return hProcess;
    // The record goes with the last handle to it, and the new copy opens its own only once it
    // runs: the last copy of a set would take the record, and the new copies' listing with it,
    // when it ends first. A handle of the new process keeps it alive until that process ends.
    HANDLE hInNewCopy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), m_hMapping.Get(), hProcess.Get(), &hInNewCopy, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    // A copy that finds no free slot is not listed; it takes part in the changes from the moment
    // it runs, and a device change meanwhile may not wait for it.
    for (SStartingCopy& copy : pRecord->starting) {
        if (copy.dwProcessId == 0 || !IsRunning(copy)) {
            copy = SStartingCopy{::GetProcessId(hProcess.Get()), CreationTime(hProcess.Get()),
                                 pRecord->nDeviceChanges};
            break;
        }
    }
    return hProcess;
}

void CRunningCopies::LeaveStarting()
{
    SRecord* pRecord = Record();
    if (!pRecord)
        return;
    for (SStartingCopy& copy : pRecord->starting) {
        if (IsThisProcess(copy))
            copy = SStartingCopy{};
    }
}
