#include "mixer/frontend/MixerFrontEnd.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kObjectTypeMask = 0xF0000000;
constexpr DWORD kQueryMask = 0x0000000F;
// The details query that names no values: list texts on a read, a custom write. Both are 1.
constexpr DWORD kDetailsOtherQuery = MIXER_GETCONTROLDETAILSF_LISTTEXT;

// Cut to the room of the record (FitName), always terminated.
template <size_t cchTarget>
void CopyName(wchar_t (&szTarget)[cchTarget], const std::wstring& strName)
{
    const std::wstring strFit = FitName(strName, cchTarget);
    std::copy(strFit.begin(), strFit.end(), szTarget);
    szTarget[strFit.size()] = L'\0';
}

// The same text in the ANSI code page, where a character may take two bytes: the cut moves back
// a character at a time until the text fits.
template <size_t cchTarget>
void CopyName(char (&szTarget)[cchTarget], const std::wstring& strName)
{
    szTarget[0] = '\0';
    for (size_t cchFit = cchTarget; cchFit > 1; --cchFit) {
        const std::wstring strFit = FitName(strName, cchFit);
        if (::WideCharToMultiByte(CP_ACP, 0, strFit.c_str(), -1, szTarget, cchTarget, nullptr, nullptr) > 0)
            return;
    }
}

DWORD TargetType(DWORD dwComponentType)
{
    switch (dwComponentType) {
    case MIXERLINE_COMPONENTTYPE_DST_SPEAKERS:
    case MIXERLINE_COMPONENTTYPE_DST_HEADPHONES:
        return MIXERLINE_TARGETTYPE_WAVEOUT;
    case MIXERLINE_COMPONENTTYPE_DST_WAVEIN:
        return MIXERLINE_TARGETTYPE_WAVEIN;
    default:
        return MIXERLINE_TARGETTYPE_UNDEFINED;
    }
}

template <class Line>
void FillLine(const SCardLayout& card, const SLinePlace& place, Line& mxl)
{
    const SLineLayout& line = *place.pLine;
    mxl.dwDestination = place.dwDestination;
    mxl.dwSource = place.bSource ? place.dwSource : 0;
    mxl.dwLineID = line.dwLineID;
    mxl.fdwLine = line.fdwLine | (place.bSource ? MIXERLINE_LINEF_SOURCE : 0);
    mxl.dwUser = line.dwUser;
    mxl.dwComponentType = line.dwComponentType;
    mxl.cChannels = line.cChannels;
    mxl.cConnections = place.cConnections;
    mxl.cControls = static_cast<DWORD>(line.controls.size());
    CopyName(mxl.szShortName, line.strName);
    CopyName(mxl.szName, line.strName);
    mxl.Target = {};
    mxl.Target.dwType = TargetType(line.dwComponentType);
    mxl.Target.dwDeviceID = line.dwIdentity;
    mxl.Target.vDriverVersion = 0x0100;
    CopyName(mxl.Target.szPname, card.strName);
}

const wchar_t* ControlName(DWORD dwControlType)
{
    if (dwControlType == MIXERCONTROL_CONTROLTYPE_VOLUME)
        return L"Volume";
    return dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE ? L"Mute" : L"Control";
}

template <class Control>
void FillControl(const SControlLayout& control, Control& mxc)
{
    mxc = {};
    mxc.cbStruct = sizeof mxc;
    mxc.dwControlID = control.dwControlID;
    mxc.dwControlType = control.dwControlType;
    mxc.fdwControl = (IsUniform(control) ? MIXERCONTROL_CONTROLF_UNIFORM : 0) |
                     (control.cMultipleItems > 0 ? MIXERCONTROL_CONTROLF_MULTIPLE : 0);
    mxc.cMultipleItems = control.cMultipleItems;
    const std::wstring strName = ControlName(control.dwControlType);
    CopyName(mxc.szShortName, strName);
    CopyName(mxc.szName, strName);
    mxc.Bounds.dwMinimum = 0;
    mxc.Bounds.dwMaximum = control.dwMaximum;
    mxc.Metrics.cSteps = control.cSteps;
}

// The line a mixerGetLineInfo query names; no line when there is none.
template <class Line>
SLinePlace FindQueriedLine(const SCardLayout& card, const Line& mxl, DWORD dwQuery)
{
    return FirstLine(card, [&](const SLinePlace& place) {
        switch (dwQuery) {
        case MIXER_GETLINEINFOF_DESTINATION:
            return !place.bSource && place.dwDestination == mxl.dwDestination;
        case MIXER_GETLINEINFOF_SOURCE:
            return place.bSource && place.dwDestination == mxl.dwDestination &&
                   place.dwSource == mxl.dwSource;
        case MIXER_GETLINEINFOF_LINEID:
            return place.pLine->dwLineID == mxl.dwLineID;
        default:
            return place.pLine->dwComponentType == mxl.dwComponentType;
        }
    });
}

// Between the caller's channel count and the control's own: one caller channel stands for all
// of them, and a uniform control answers its one value on every channel.
std::vector<DWORD> ToModelLayout(const SControlPlace& control, const MIXERCONTROLDETAILS& mxcd)
{
    const DWORD cOwn = ControlChannels(control);
    const DWORD cItems = std::max<DWORD>(control.pControl->cMultipleItems, 1);
    const auto* pValues = static_cast<const DWORD*>(mxcd.paDetails);
    std::vector<DWORD> values(size_t{cOwn} * cItems);
    for (DWORD i = 0; i < cItems; ++i)
        for (DWORD c = 0; c < cOwn; ++c)
            values[i * cOwn + c] = pValues[i * mxcd.cChannels + std::min(c, mxcd.cChannels - 1)];
    return values;
}

void FromModelLayout(const SControlPlace& control, const std::vector<DWORD>& values,
                     const MIXERCONTROLDETAILS& mxcd)
{
    const DWORD cOwn = ControlChannels(control);
    const DWORD cItems = std::max<DWORD>(control.pControl->cMultipleItems, 1);
    auto* pValues = static_cast<DWORD*>(mxcd.paDetails);
    for (DWORD i = 0; i < cItems; ++i)
        for (DWORD c = 0; c < mxcd.cChannels; ++c)
            pValues[i * mxcd.cChannels + c] = values[i * cOwn + std::min(c, cOwn - 1)];
}

} // namespace

CMixerFrontEnd::CMixerFrontEnd(std::unique_ptr<CCardModel> pModel)
    : m_pModel(std::move(pModel)), m_pHandles(std::make_shared<CHandleTable>())
{
    m_pModel->Attach(m_pHandles, m_pHandles->WriteContext());
}

CMixerFrontEnd::~CMixerFrontEnd()
{
    m_pHandles->RemoveAll();
}

MMRESULT CMixerFrontEnd::Resolve(UINT_PTR nObject, DWORD fdwFlags, SResolved& resolved)
{
    const MMRESULT mmr = ResolveCard(nObject, fdwFlags, resolved);
    if (mmr == MMSYSERR_NOERROR)
        resolved.pCard->Refresh();
    return mmr;
}

MMRESULT CMixerFrontEnd::ResolveCard(UINT_PTR nObject, DWORD fdwFlags, SResolved& resolved)
{
    const DWORD dwType = fdwFlags & kObjectTypeMask;
    if (dwType != MIXER_OBJECTF_HMIXER && dwType != MIXER_OBJECTF_MIXER)
        return MMSYSERR_INVALFLAG;
    resolved.bHandle = m_pHandles->Find(reinterpret_cast<HMIXER>(nObject), resolved.nCard, resolved.pCard);
    if (resolved.bHandle)
        return MMSYSERR_NOERROR;
    if (dwType == MIXER_OBJECTF_HMIXER)
        return MMSYSERR_INVALHANDLE;
    // Without a type flag the object is an open handle or else a device index.
    const CModelCards& cards = m_pModel->Cards();
    if (nObject >= cards.size())
        return MMSYSERR_BADDEVICEID;
    resolved.nCard = static_cast<UINT>(nObject);
    resolved.pCard = cards[nObject];
    return MMSYSERR_NOERROR;
}

MMRESULT CMixerFrontEnd::ResolveQuery(HMIXEROBJ hmxobj, DWORD fdwFlags, DWORD dwLastQuery,
                                      SResolved& resolved)
{
    // Nothing but an object type and a query no larger than the function's last.
    if ((fdwFlags & ~(kObjectTypeMask | kQueryMask)) != 0 || (fdwFlags & kQueryMask) > dwLastQuery)
        return MMSYSERR_INVALFLAG;
    return Resolve(reinterpret_cast<UINT_PTR>(hmxobj), fdwFlags, resolved);
}

UINT CMixerFrontEnd::GetNumDevs()
{
    return static_cast<UINT>(m_pModel->Cards().size());
}

MMRESULT CMixerFrontEnd::GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    return GetDevCapsOf(uMxId, pmxcaps, cbmxcaps);
}

MMRESULT CMixerFrontEnd::GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps)
{
    return GetDevCapsOf(uMxId, pmxcaps, cbmxcaps);
}

template <class Caps>
MMRESULT CMixerFrontEnd::GetDevCapsOf(UINT_PTR uMxId, Caps* pmxcaps, UINT cbmxcaps)
{
    if (pmxcaps == nullptr)
        return MMSYSERR_INVALPARAM;
    SResolved resolved;
    if (const MMRESULT mmr = Resolve(uMxId, MIXER_OBJECTF_MIXER, resolved))
        return mmr;
    const SCardLayout& card = resolved.pCard->Layout();
    Caps caps{};
    caps.vDriverVersion = 0x0100;
    CopyName(caps.szPname, card.strName);
    caps.cDestinations = static_cast<DWORD>(card.destinations.size());
    // Like WINMM, copies as much of the structure as the caller has room for.
    std::memcpy(pmxcaps, &caps, std::min<size_t>(cbmxcaps, sizeof caps));
    return MMSYSERR_NOERROR;
}

MMRESULT CMixerFrontEnd::Open(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR, DWORD fdwOpen)
{
    if (phmx == nullptr)
        return MMSYSERR_INVALPARAM;
    const DWORD dwCallbackType = fdwOpen & CALLBACK_TYPEMASK;
    if ((fdwOpen & ~(CALLBACK_TYPEMASK | kObjectTypeMask)) != 0 ||
        !CMixerCallback::IsMixerType(dwCallbackType))
        return MMSYSERR_INVALFLAG;
    const bool bWindow = dwCallbackType == CALLBACK_WINDOW && dwCallback != 0;
    if (bWindow && !::IsWindow(reinterpret_cast<HWND>(dwCallback)))
        return MMSYSERR_INVALPARAM;
    SResolved resolved;
    if (const MMRESULT mmr = Resolve(uMxId, fdwOpen & kObjectTypeMask, resolved)) {
        // A bar with no card (no endpoint yet) restarts when one appears.
        if (mmr == MMSYSERR_BADDEVICEID && bWindow)
            m_pHandles->AddWaitingWindow(reinterpret_cast<HWND>(dwCallback));
        return mmr;
    }

    // The model listens before the handle is in the table: a change reported in between finds
    // no handle and reaches nobody, as a change before the open. Nothing is signalled on open.
    const HMIXER hMixer = CHandleTable::NewHandle();
    SOpenHandle handle{resolved.nCard, resolved.pCard, CMixerCallback(dwCallbackType, dwCallback),
                       resolved.pCard->Listen()};
    m_pHandles->Insert(hMixer, std::move(handle));
    *phmx = hMixer;
    return MMSYSERR_NOERROR;
}

MMRESULT CMixerFrontEnd::Close(HMIXER hmx)
{
    // The record leaves the table first, so that nothing reaches its callback any more; the
    // model stops listening when the record goes at the end of this function. Nothing is
    // signalled on close.
    SOpenHandle handle;
    return m_pHandles->Remove(hmx, handle) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT CMixerFrontEnd::GetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId)
{
    if ((fdwId & ~kObjectTypeMask) != 0)
        return MMSYSERR_INVALFLAG;
    SResolved resolved;
    if (const MMRESULT mmr = Resolve(reinterpret_cast<UINT_PTR>(hmxobj), fdwId, resolved))
        return mmr;
    if (puMxId == nullptr)
        return MMSYSERR_INVALPARAM;
    if (!resolved.bHandle) {
        *puMxId = resolved.nCard;
        return MMSYSERR_NOERROR;
    }
    // A handle answers the index that what it drives has now: after a change of the default the
    // same endpoint is another card, and once it is gone there is none.
    const CModelCards cards = m_pModel->Cards();
    const std::wstring strKey = resolved.pCard->Key();
    const auto it = std::find_if(cards.begin(), cards.end(), [&](const std::shared_ptr<CModelCard>& pCard) {
        return pCard == resolved.pCard || (!strKey.empty() && pCard->Key() == strKey);
    });
    if (it == cards.end()) {
        // As WINMM answers for a handle whose device is gone.
        *puMxId = static_cast<UINT>(-1);
        return MMSYSERR_NODRIVER;
    }
    *puMxId = static_cast<UINT>(it - cards.begin());
    return MMSYSERR_NOERROR;
}

MMRESULT CMixerFrontEnd::GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo)
{
    return GetLineInfoOf(hmxobj, pmxl, fdwInfo);
}

MMRESULT CMixerFrontEnd::GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo)
{
    return GetLineInfoOf(hmxobj, pmxl, fdwInfo);
}

template <class Line>
MMRESULT CMixerFrontEnd::GetLineInfoOf(HMIXEROBJ hmxobj, Line* pmxl, DWORD fdwInfo)
{
    SResolved resolved;
    if (const MMRESULT mmr = ResolveQuery(hmxobj, fdwInfo, MIXER_GETLINEINFOF_TARGETTYPE, resolved))
        return mmr;
    if (pmxl == nullptr || pmxl->cbStruct != sizeof(Line))
        return MMSYSERR_INVALPARAM;
    const DWORD dwQuery = fdwInfo & kQueryMask;
    if (dwQuery == MIXER_GETLINEINFOF_TARGETTYPE)
        return MMSYSERR_NOTSUPPORTED;
    const SCardLayout& card = resolved.pCard->Layout();
    const SLinePlace found = FindQueriedLine(card, *pmxl, dwQuery);
    if (found.pLine == nullptr)
        return MIXERR_INVALLINE;
    FillLine(card, found, *pmxl);
    return MMSYSERR_NOERROR;
}

MMRESULT CMixerFrontEnd::GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls)
{
    return GetLineControlsOf(hmxobj, pmxlc, fdwControls);
}

MMRESULT CMixerFrontEnd::GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls)
{
    return GetLineControlsOf(hmxobj, pmxlc, fdwControls);
}

template <class Controls>
MMRESULT CMixerFrontEnd::GetLineControlsOf(HMIXEROBJ hmxobj, Controls* pmxlc, DWORD fdwControls)
{
    SResolved resolved;
    if (const MMRESULT mmr = ResolveQuery(hmxobj, fdwControls, MIXER_GETLINECONTROLSF_ONEBYTYPE, resolved))
        return mmr;
    if (pmxlc == nullptr || pmxlc->cbStruct != sizeof(Controls) ||
        pmxlc->cbmxctrl != sizeof(*pmxlc->pamxctrl) || pmxlc->pamxctrl == nullptr)
        return MMSYSERR_INVALPARAM;
    const SCardLayout& card = resolved.pCard->Layout();
    const DWORD dwQuery = fdwControls & kQueryMask;

    if (dwQuery == MIXER_GETLINECONTROLSF_ONEBYID) {
        const SControlPlace place = FindControl(card, pmxlc->dwControlID);
        if (place.pControl == nullptr)
            return MIXERR_INVALCONTROL;
        pmxlc->dwLineID = place.pLine->dwLineID;
        FillControl(*place.pControl, *pmxlc->pamxctrl);
        return MMSYSERR_NOERROR;
    }

    const SLineLayout* pLine = FindLine(card, pmxlc->dwLineID).pLine;
    if (pLine == nullptr)
        return MIXERR_INVALLINE;
    const auto& controls = pLine->controls;
    if (dwQuery == MIXER_GETLINECONTROLSF_ALL) {
        if (pmxlc->cControls == 0 || pmxlc->cControls != controls.size())
            return MMSYSERR_INVALPARAM;
        for (size_t i = 0; i < controls.size(); ++i)
            FillControl(controls[i], pmxlc->pamxctrl[i]);
        return MMSYSERR_NOERROR;
    }
    for (const SControlLayout& control : controls)
        if (control.dwControlType == pmxlc->dwControlType) {
            pmxlc->dwControlID = control.dwControlID;
            FillControl(control, *pmxlc->pamxctrl);
            return MMSYSERR_NOERROR;
        }
    return MIXERR_INVALCONTROL;
}

MMRESULT CMixerFrontEnd::ResolveDetails(HMIXEROBJ hmxobj, const MIXERCONTROLDETAILS* pmxcd, DWORD fdwDetails,
                                        SResolved& resolved, SControlPlace& control)
{
    if (const MMRESULT mmr = ResolveQuery(hmxobj, fdwDetails, kDetailsOtherQuery, resolved))
        return mmr;
    if ((fdwDetails & kQueryMask) == kDetailsOtherQuery)
        return MMSYSERR_NOTSUPPORTED;
    if (pmxcd == nullptr || pmxcd->cbStruct != sizeof(MIXERCONTROLDETAILS))
        return MMSYSERR_INVALPARAM;
    control = FindControl(resolved.pCard->Layout(), pmxcd->dwControlID);
    if (control.pControl == nullptr)
        return MIXERR_INVALCONTROL;
    // One channel stands for all of them; otherwise the line's own count.
    if (pmxcd->cChannels != 1 && pmxcd->cChannels != control.pLine->cChannels)
        return MMSYSERR_INVALPARAM;
    if (pmxcd->cMultipleItems != control.pControl->cMultipleItems)
        return MMSYSERR_INVALPARAM;
    if (pmxcd->cbDetails != sizeof(DWORD) || pmxcd->paDetails == nullptr)
        return MMSYSERR_INVALPARAM;
    return MMSYSERR_NOERROR;
}

MMRESULT CMixerFrontEnd::GetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    SResolved resolved;
    SControlPlace control;
    if (const MMRESULT mmr = ResolveDetails(hmxobj, pmxcd, fdwDetails, resolved, control))
        return mmr;
    std::vector<DWORD> values(ValueCount(control));
    if (const MMRESULT mmr = resolved.pCard->Read(control, values))
        return mmr;
    FromModelLayout(control, values, *pmxcd);
    return MMSYSERR_NOERROR;
}

MMRESULT CMixerFrontEnd::SetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    SResolved resolved;
    SControlPlace control;
    if (const MMRESULT mmr = ResolveDetails(hmxobj, pmxcd, fdwDetails, resolved, control))
        return mmr;
    const std::vector<DWORD> values = ToModelLayout(control, *pmxcd);
    if (const MMRESULT mmr = CheckValues(control, values))
        return mmr;
    if (const MMRESULT mmr = resolved.pCard->Write(control, values))
        return mmr;
    // Every successful write is announced to every handle on the card, even one that changed
    // nothing, as WINMM does; models report only the changes made elsewhere.
    m_pHandles->NotifyCard(resolved.pCard.get(), MM_MIXM_CONTROL_CHANGE, pmxcd->dwControlID);
    return MMSYSERR_NOERROR;
}
