// CRunningCopies: the one owner of the rules between the running copies of the program. Copies
// know one another only by their bar windows (app/BarWindows.h), the running-copy counter in the
// settings, one lock that they take turns with (app/CopyLock.h) and a small record that they
// share: how many changes of the sound hardware the copies have seen, the copies that another
// copy has started and that have no bar yet, and the place of the set of bars that a change is
// replacing.
//
//   Start-up:      CStartTurn turn = copies.BeginStart();   // sets g_bFirstInstance
//                  the bar: copies.Raise(), stands in its place, turn.End()
//   Leaving:       copies.Lower();                          // once, however often it is called
//   Device change: copies.NoteDeviceChange();               // the moment it arrives
//                  copies.EndForDeviceChange(hBar, endBar, countCards);
//   Menu:          copies.Launch("r1");
#pragma once

#include "app/CopyLock.h"
#include "fw/ScopedHandles.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

class CRunningCopies;

// A copy's turn for its start: taken by start-up before it looks for other bars, handed to the
// bar, and ended by the bar once it stands in its place, so that a copy starting next finds it
// there. Until then the copy counts as one that is starting. An empty turn holds nothing.
class CStartTurn {
public:
    CStartTurn() = default;
    ~CStartTurn();
    CStartTurn(CStartTurn&& other) noexcept;

    void End();

private:
    friend class CRunningCopies;
    CStartTurn(CRunningCopies& copies, CCopyLock lock);

    CRunningCopies* m_pCopies = nullptr;
    std::optional<CCopyLock> m_lock;
};

class CRunningCopies {
public:
    // What starts a further copy with a role word: LaunchCopy (app/Launch.h), or a test's stand-in.
    using CCopyStarter = std::function<CScopedKernelHandle(const std::string& strRoleWord)>;

    // Opens the shared record and notes how many device changes the copies have seen so far: a
    // copy that no other copy started takes part in the changes from here on.
    explicit CRunningCopies(CCopyStarter startCopy = {});
    CRunningCopies(const CRunningCopies&) = delete;
    CRunningCopies& operator=(const CRunningCopies&) = delete;

    // Takes this copy's turn to start. Without another copy's bar this copy is the first
    // (g_bFirstInstance), and the counter starts again at 0: a count left too high by a copy that
    // was killed is repaired.
    CStartTurn BeginStart();

    // The counter: raised once when this copy's bar runs, lowered once when it leaves. A copy
    // that was never raised lowers nothing.
    void Raise();
    void Lower();

    // Whether the sound hardware changed after this copy was started (by another copy: after that
    // copy started it) and before its bar could hear of it: the copy must take part in the change.
    BOOL MissedDeviceChange() const;

    // A change of the sound hardware, noted the moment it arrives, even when the bar cannot end
    // yet: a copy that is starting meanwhile learns of it when its start ends.
    void NoteDeviceChange();
    // This copy's part in the end of the set for a change of the sound hardware. With the turn it
    // notes where the set stands and whether it is the last copy, and its bar ends (endBar).
    // The last copy then starts the fresh set where the top bar of the old one stood: one output
    // bar for each card (countCards, asked once the bar has gone), at most three, one without any
    // card; card 0 first, and each further bar once the one before stands, so that the column
    // holds them in card order. A newer change stops it: the copies of that change start the set.
    void EndForDeviceChange(HWND hBar, const std::function<void()>& endBar,
                            const std::function<UINT()>& countCards);

    CCopyLock TakeTurn() const;
    // With the turn: no other bar runs and no other copy is starting. Only a question: it writes
    // nothing.
    BOOL IsLastCopy(HWND hWndSelf) const;

    // Starts a further copy with a role word, listed as starting until its bar stands. The new
    // process, or null when none was created.
    CScopedKernelHandle Launch(const std::string& strRoleWord);

private:
    friend class CStartTurn;
    struct SRecord;
    struct CUnmapView {
        void operator()(void* pView) const { ::UnmapViewOfFile(pView); }
    };

    SRecord* Record() const;
    LONG DeviceChanges() const;
    // With the turn: the bars that are running now belong to the set being replaced; the top one
    // of them is where the new set will open.
    void NoteSetPlace();
    // By the last copy once its bar has gone, without the turn.
    void StartFreshSet(UINT nCards, LONG nChangesSeen);
    CScopedKernelHandle LaunchListed(const std::string& strRoleWord);
    void LeaveStarting();

    CCopyStarter m_startCopy;
    CScopedKernelHandle m_hMapping;
    CScopedHandle<void*, CUnmapView> m_view;
    LONG m_nChangesAtStart = 0;
    BOOL m_bCounted = FALSE;
};
