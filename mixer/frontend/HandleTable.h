// CHandleTable holds the front end's open mixer handles and the windows waiting for a card: who
// is told of a change. It lives on the mixer's thread, the one that calls the front end; a model
// that hears of changes on other threads hands them over to that thread first (the endpoint
// mixer's ChangeHandover.h), so that nothing waits for the table and, once Remove has taken a
// handle out, nothing more reaches its callback.
#pragma once

#include "mixer/frontend/CardModel.h"
#include "mixer/frontend/MixerCallback.h"

#include <memory>
#include <utility>
#include <vector>

struct SOpenHandle {
    UINT nCard = 0;
    std::shared_ptr<CModelCard> pCard;
    CMixerCallback callback;
    std::unique_ptr<CListening> pListening;
};

class CHandleTable final : public ICardEvents {
public:
    CHandleTable();

    // A handle value not given out before in this process: far above any device index, so
    // that a mixer object without a type flag is never both, and never reused, as on Windows.
    static HMIXER NewHandle();

    void Insert(HMIXER hMixer, SOpenHandle handle);
    // Takes an open handle's record out into handle; false when the handle is not open.
    bool Remove(HMIXER hMixer, SOpenHandle& handle);
    // Takes every record out; their listenings end before this returns.
    void RemoveAll();
    size_t OpenCount() const;
    // The card of an open handle; false when the handle is not open.
    bool Find(HMIXER hMixer, UINT& nCard, std::shared_ptr<CModelCard>& pCard) const;

    // uMsg (MM_MIXM_CONTROL_CHANGE with a control id, MM_MIXM_LINE_CHANGE with a line id) to
    // every handle open on pCard, unless guidContext is the front end's own. pCard is only
    // compared, so it may have gone.
    void NotifyCard(const CModelCard* pCard, UINT uMsg, DWORD dwParam,
                    const GUID& guidContext = GUID_NULL) const;

    // The context of the front end's writes, new in each process, so that another program's,
    // another copy's of this one included, never looks like one of them.
    const GUID& WriteContext() const { return m_guidWrites; }
    // A change made elsewhere: MM_MIXM_CONTROL_CHANGE or MM_MIXM_LINE_CHANGE to every handle
    // open on the card. One of the front end's own writes was announced as it was made, and its
    // echo is not told again.
    void ControlChanged(const CModelCard* pCard, DWORD dwControlID, const GUID& guidContext) override;
    void LineChanged(const CModelCard* pCard, DWORD dwLineID, const GUID& guidContext) override;
    // A window that asked for a card that is not there (yet): it hears of the next change of
    // the cards, as if it held a handle.
    void AddWaitingWindow(HWND hWnd);
    // The set of cards changed: PostCardsChanged (MixerCallback.h) once to each window that holds
    // a handle or waits, as Windows tells windows of a change of the devices.
    void CardsChanged() override;

private:
    using CEntry = std::pair<HMIXER, SOpenHandle>;
    std::vector<CEntry>::const_iterator Entry(HMIXER hMixer) const;

    GUID m_guidWrites{};
    // In the order of opening; a process holds a few at most.
    std::vector<CEntry> m_handles;
    std::vector<HWND> m_waitingWindows;
};
