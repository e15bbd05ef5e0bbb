// CHandleTable holds the front end's open mixer handles. The mixer's callers and the threads on
// which a card model reports changes share it, so one lock guards it, and every notification is
// sent while that lock is held: once Remove has taken a handle out, nothing more reaches its
// callback. Nothing of the model is called under the lock; a handle's record, with the model's
// listening, is let go by the caller outside it.
#pragma once

#include "fw/CriticalSection.h"
#include "mixer/frontend/CardModel.h"
#include "mixer/frontend/MixerCallback.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

struct COpenHandle {
    UINT nCard = 0;
    std::shared_ptr<CModelCard> pCard;
    CMixerCallback callback;
    std::unique_ptr<CListening> pListening;
};

class CHandleTable final : public CChangeSink {
public:
    // A handle value not given out before in this process: far above any device index, so
    // that a mixer object without a type flag is never both, and never reused, as on Windows.
    static HMIXER NewHandle();

    void Insert(HMIXER hMixer, COpenHandle handle);
    std::optional<COpenHandle> Remove(HMIXER hMixer);
    std::vector<HMIXER> OpenHandles() const;
    // The card of an open handle; false when the handle is not open.
    bool Find(HMIXER hMixer, UINT& nCard, std::shared_ptr<CModelCard>& pCard) const;

    // MM_MIXM_CONTROL_CHANGE to every handle open on pCard.
    void NotifyCard(const CModelCard* pCard, DWORD dwControlID) const;

    void ControlChanged(HMIXER hMixer, DWORD dwControlID) override;
    // WM_DEVICECHANGE with DBT_DEVNODES_CHANGED, once to each window that holds a handle.
    void CardsChanged() override;

private:
    mutable CCriticalSection m_mutex;
    std::map<HMIXER, COpenHandle> m_handles;
};
