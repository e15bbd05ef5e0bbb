// CMixerFrontEnd answers the nine WINMM mixer functions over a card model (CardModel.h), with
// WINMM's rules: device indices and handles (a mixer object without a type flag may be either),
// the MIXER_OBJECTF_* and query flags, structure sizes, the line and control records, the checks
// of control details and every result code. Whoever opened a handle hears of every change of a
// control on its card, its own writes included, by window, thread or event (MixerCallback.h);
// the model reports the changes made elsewhere.
//
// Usage: CMixerFrontEnd mixer(std::make_unique<CSomeModel>(...)); then call it as WINMM. Its
// models: the Core Audio endpoints (mixer/endpoint/EndpointMixer.h) and the test build's
// scripted cards (tests/sim/SimMixer.h).
#pragma once

#include "mixer/frontend/CardModel.h"
#include "mixer/frontend/HandleTable.h"
#include "mixer/frontend/MixerBackend.h"

#include <memory>

class CMixerFrontEnd final : public CMixerBackend {
public:
    explicit CMixerFrontEnd(std::unique_ptr<CCardModel> pModel);
    // Closes the handles left open, so that the model stops reporting before it goes.
    ~CMixerFrontEnd() override;

    UINT GetNumDevs() override;
    MMRESULT GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps) override;
    MMRESULT Open(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance,
                  DWORD fdwOpen) override;
    MMRESULT Close(HMIXER hmx) override;
    MMRESULT GetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) override;
    MMRESULT GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo) override;
    MMRESULT GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls) override;
    MMRESULT GetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;
    MMRESULT SetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;
    MMRESULT GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) override;
    MMRESULT GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) override;
    MMRESULT GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) override;
    // The wide form differs only in the list texts, which this front end has none of.
    MMRESULT GetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override
    {
        return GetControlDetails(hmxobj, pmxcd, fdwDetails);
    }

    // For tests that look for handles left open.
    size_t OpenHandleCount() const { return m_pHandles->OpenCount(); }

private:
    struct SResolved {
        UINT nCard = 0;
        std::shared_ptr<CModelCard> pCard;
        // The object was an open handle, and nCard the index of its card when it was opened.
        bool bHandle = false;
    };

    // The card an object names, brought up to date (CModelCard::Refresh).
    MMRESULT Resolve(UINT_PTR nObject, DWORD fdwFlags, SResolved& resolved);
    MMRESULT ResolveCard(UINT_PTR nObject, DWORD fdwFlags, SResolved& resolved);
    // The flags and the object of a query whose query flags run up to dwLastQuery.
    MMRESULT ResolveQuery(HMIXEROBJ hmxobj, DWORD fdwFlags, DWORD dwLastQuery, SResolved& resolved);
    // The narrow and the wide forms, over their records.
    template <class Caps>
    MMRESULT GetDevCapsOf(UINT_PTR uMxId, Caps* pmxcaps, UINT cbmxcaps);
    template <class Line>
    MMRESULT GetLineInfoOf(HMIXEROBJ hmxobj, Line* pmxl, DWORD fdwInfo);
    template <class Controls>
    MMRESULT GetLineControlsOf(HMIXEROBJ hmxobj, Controls* pmxlc, DWORD fdwControls);
    // The flags, the object and the details record of a read or a write.
    MMRESULT ResolveDetails(HMIXEROBJ hmxobj, const MIXERCONTROLDETAILS* pmxcd, DWORD fdwDetails,
                            SResolved& resolved, SControlPlace& control);

    std::unique_ptr<CCardModel> m_pModel;
    std::shared_ptr<CHandleTable> m_pHandles;
};
