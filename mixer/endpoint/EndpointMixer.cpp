#include "mixer/endpoint/EndpointMixer.h"

#include "mixer/endpoint/HandleRegistry.h"
#include "mixer/endpoint/VolumeCallback.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

namespace {

constexpr DWORD kObjectTypeMask = 0xF0000000;
constexpr DWORD kQueryMask = 0x0000000F;
constexpr DWORD kVolumeMaximum = 0xFFFF;

DWORD ScalarToValue(float fScalar)
{
    return static_cast<DWORD>(std::lround(std::clamp(fScalar, 0.0f, 1.0f) * kVolumeMaximum));
}

float ValueToScalar(DWORD dwValue)
{
    return static_cast<float>(dwValue) / static_cast<float>(kVolumeMaximum);
}

void CopyName(char* pszTarget, size_t cchTarget, const std::string& strName)
{
    const size_t cch = std::min(strName.size(), cchTarget - 1);
    std::memcpy(pszTarget, strName.data(), cch);
    pszTarget[cch] = '\0';
}

bool IsSpeakers(const CEndpointLine& line)
{
    return line.dwComponentType == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
}

void FillLine(const CEndpointCard& card, DWORD dwDestination, MIXERLINEA& mxl)
{
    const CEndpointLine& line = card.lines[dwDestination];
    const bool bSpeakers = IsSpeakers(line);
    mxl.dwDestination = dwDestination;
    mxl.dwSource = 0;
    mxl.dwLineID = LineIdOf(dwDestination);
    mxl.fdwLine = MIXERLINE_LINEF_ACTIVE;
    mxl.dwUser = 0;
    mxl.dwComponentType = line.dwComponentType;
    mxl.cChannels = line.cChannels;
    mxl.cConnections = 0;
    mxl.cControls = kControlsPerLine;
    CopyName(mxl.szShortName, sizeof mxl.szShortName, bSpeakers ? "Master Volume" : "Recording");
    CopyName(mxl.szName, sizeof mxl.szName, bSpeakers ? "Master Volume" : "Recording Control");
    mxl.Target = {};
    mxl.Target.dwType = bSpeakers ? MIXERLINE_TARGETTYPE_WAVEOUT : MIXERLINE_TARGETTYPE_WAVEIN;
    mxl.Target.vDriverVersion = 0x0100;
    CopyName(mxl.Target.szPname, sizeof mxl.Target.szPname, card.strName);
}

void FillControl(const CEndpointLine& line, DWORD dwDestination, bool bMute, MIXERCONTROLA& mxc)
{
    mxc = {};
    mxc.cbStruct = sizeof mxc;
    mxc.dwControlID = bMute ? MuteControlOf(dwDestination) : VolumeControlOf(dwDestination);
    mxc.dwControlType = bMute ? MIXERCONTROL_CONTROLTYPE_MUTE : MIXERCONTROL_CONTROLTYPE_VOLUME;
    // Both stand for one value of the endpoint, whatever its channels.
    mxc.fdwControl = MIXERCONTROL_CONTROLF_UNIFORM;
    mxc.cMultipleItems = 0;
    CopyName(mxc.szShortName, sizeof mxc.szShortName, bMute ? "Mute" : "Volume");
    CopyName(mxc.szName, sizeof mxc.szName, bMute ? "Master Mute" : "Master Volume");
    mxc.Bounds.dwMinimum = 0;
    mxc.Bounds.dwMaximum = bMute ? 1 : kVolumeMaximum;
    mxc.Metrics.cSteps = bMute ? 0 : line.cSteps;
}

std::set<std::wstring> EndpointIds(const CEndpointCards& cards)
{
    std::set<std::wstring> ids;
    for (const auto& pCard : cards)
        for (const CEndpointLine& line : pCard->lines)
            ids.insert(line.strEndpointId);
    return ids;
}

BOOL CurrentMute(const CEndpointLine& line)
{
    BOOL bMuted = FALSE;
    return SUCCEEDED(line.pVolume->GetMute(&bMuted)) && bMuted;
}

} // namespace

CEndpointMixer::CEndpointMixer(CComPtr<IMMDeviceEnumerator> pEnumerator)
    : m_pEnumerator(std::move(pEnumerator)), m_pRegistry(std::make_shared<CHandleRegistry>())
{
    ::CoCreateGuid(&m_guidOwnWrites);
    m_pDeviceClient = MakeComObject<CDeviceChangeClient>(std::weak_ptr<CHandleRegistry>(m_pRegistry));
    if (FAILED(m_pEnumerator->RegisterEndpointNotificationCallback(m_pDeviceClient.Get())))
        m_pDeviceClient.Reset();
}

CEndpointMixer::~CEndpointMixer()
{
    for (const HMIXER hMixer : m_pRegistry->OpenHandles())
        Close(hMixer);
    if (m_pDeviceClient)
        m_pEnumerator->UnregisterEndpointNotificationCallback(m_pDeviceClient.Get());
}

CEndpointCards CEndpointMixer::Cards()
{
    const CCriticalSectionLock lock(m_cardsMutex);
    // Taken before the read, so that a change during the read calls for another one.
    const bool bStale = m_pRegistry->TakeCardsStale();
    if (!m_bCardsRead || bStale) {
        m_cards = ReadEndpointCards(m_pEnumerator.Get());
        m_pRegistry->SetKnownEndpoints(EndpointIds(m_cards));
        m_bCardsRead = true;
    }
    return m_cards;
}

MMRESULT CEndpointMixer::Resolve(UINT_PTR nObject, DWORD fdwFlags, CResolved& resolved)
{
    const auto hMixer = reinterpret_cast<HMIXER>(nObject);
    switch (fdwFlags & kObjectTypeMask) {
    case MIXER_OBJECTF_HMIXER:
        return m_pRegistry->Find(hMixer, resolved.nCard, resolved.pCard) ? MMSYSERR_NOERROR
                                                                         : MMSYSERR_INVALHANDLE;
    case MIXER_OBJECTF_MIXER: {
        // Without a type flag the object is an open handle or else a device index.
        if (m_pRegistry->Find(hMixer, resolved.nCard, resolved.pCard))
            return MMSYSERR_NOERROR;
        const CEndpointCards cards = Cards();
        if (nObject >= cards.size())
            return MMSYSERR_BADDEVICEID;
        resolved.nCard = static_cast<UINT>(nObject);
        resolved.pCard = cards[nObject];
        return MMSYSERR_NOERROR;
    }
    default:
        return MMSYSERR_INVALFLAG;
    }
}

UINT CEndpointMixer::GetNumDevs()
{
    return static_cast<UINT>(Cards().size());
}

MMRESULT CEndpointMixer::GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    if (pmxcaps == nullptr)
        return MMSYSERR_INVALPARAM;
    CResolved resolved;
    if (const MMRESULT mmr = Resolve(uMxId, MIXER_OBJECTF_MIXER, resolved))
        return mmr;
    MIXERCAPSA caps{};
    caps.vDriverVersion = 0x0100;
    CopyName(caps.szPname, sizeof caps.szPname, resolved.pCard->strName);
    caps.cDestinations = static_cast<DWORD>(resolved.pCard->lines.size());
    // Like WINMM, copies as much of the structure as the caller has room for.
    std::memcpy(pmxcaps, &caps, std::min<size_t>(cbmxcaps, sizeof caps));
    return MMSYSERR_NOERROR;
}

MMRESULT CEndpointMixer::Open(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR, DWORD fdwOpen)
{
    if (phmx == nullptr)
        return MMSYSERR_INVALPARAM;
    const DWORD dwCallbackType = fdwOpen & CALLBACK_TYPEMASK;
    if ((fdwOpen & ~(CALLBACK_TYPEMASK | kObjectTypeMask)) != 0 ||
        (dwCallbackType != CALLBACK_NULL && dwCallbackType != CALLBACK_WINDOW))
        return MMSYSERR_INVALFLAG;
    CResolved resolved;
    if (const MMRESULT mmr = Resolve(uMxId, fdwOpen & kObjectTypeMask, resolved))
        return mmr;
    const HWND hWnd = dwCallbackType == CALLBACK_WINDOW ? reinterpret_cast<HWND>(dwCallback) : nullptr;
    if (hWnd != nullptr && !::IsWindow(hWnd))
        return MMSYSERR_INVALPARAM;

    // The callbacks are registered before the handle is in the registry: one that fires in
    // between finds no handle and posts nothing, as for a change before the open.
    const HMIXER hMixer = m_pRegistry->NewHandle();
    COpenHandle handle{resolved.nCard, resolved.pCard, hWnd, {}};
    if (hWnd != nullptr)
        for (DWORD d = 0; d < resolved.pCard->lines.size(); ++d) {
            const CEndpointLine& line = resolved.pCard->lines[d];
            handle.registrations.emplace_back(
                line.pVolume,
                MakeComObject<CVolumeCallback>(std::weak_ptr<const CHandleRegistry>(m_pRegistry), hMixer, d,
                                               m_guidOwnWrites, CurrentMute(line)));
        }
    m_pRegistry->Insert(hMixer, std::move(handle));
    *phmx = hMixer;
    return MMSYSERR_NOERROR;
}

MMRESULT CEndpointMixer::Close(HMIXER hmx)
{
    // The record leaves the registry first, so that nothing is posted for it any more; its
    // callbacks are unregistered and released when it goes at the end of this function, outside
    // the registry's lock.
    const std::optional<COpenHandle> handle = m_pRegistry->Remove(hmx);
    return handle ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT CEndpointMixer::GetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId)
{
    if ((fdwId & ~kObjectTypeMask) != 0)
        return MMSYSERR_INVALFLAG;
    CResolved resolved;
    if (const MMRESULT mmr = Resolve(reinterpret_cast<UINT_PTR>(hmxobj), fdwId, resolved))
        return mmr;
    if (puMxId == nullptr)
        return MMSYSERR_INVALPARAM;
    *puMxId = resolved.nCard;
    return MMSYSERR_NOERROR;
}

MMRESULT CEndpointMixer::GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo)
{
    const DWORD dwQuery = fdwInfo & kQueryMask;
    if ((fdwInfo & ~(kObjectTypeMask | kQueryMask)) != 0 || dwQuery > MIXER_GETLINEINFOF_TARGETTYPE)
        return MMSYSERR_INVALFLAG;
    CResolved resolved;
    if (const MMRESULT mmr = Resolve(reinterpret_cast<UINT_PTR>(hmxobj), fdwInfo, resolved))
        return mmr;
    if (pmxl == nullptr || pmxl->cbStruct != sizeof(MIXERLINEA))
        return MMSYSERR_INVALPARAM;

    const auto& lines = resolved.pCard->lines;
    const auto cLines = static_cast<DWORD>(lines.size());
    DWORD dwFound = cLines;
    switch (dwQuery) {
    case MIXER_GETLINEINFOF_DESTINATION:
        dwFound = pmxl->dwDestination;
        break;
    case MIXER_GETLINEINFOF_SOURCE:
        // The destinations have no sources.
        break;
    case MIXER_GETLINEINFOF_LINEID:
        if (pmxl->dwLineID >= kLineIdBase)
            dwFound = pmxl->dwLineID - kLineIdBase;
        break;
    case MIXER_GETLINEINFOF_COMPONENTTYPE:
        dwFound = static_cast<DWORD>(std::find_if(lines.begin(), lines.end(),
                                                  [&](const CEndpointLine& line) {
                                                      return line.dwComponentType == pmxl->dwComponentType;
                                                  }) -
                                     lines.begin());
        break;
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
    if (dwFound >= cLines)
        return MIXERR_INVALLINE;
    FillLine(*resolved.pCard, dwFound, *pmxl);
    return MMSYSERR_NOERROR;
}

MMRESULT CEndpointMixer::GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls)
{
    const DWORD dwQuery = fdwControls & kQueryMask;
    if ((fdwControls & ~(kObjectTypeMask | kQueryMask)) != 0 || dwQuery > MIXER_GETLINECONTROLSF_ONEBYTYPE)
        return MMSYSERR_INVALFLAG;
    CResolved resolved;
    if (const MMRESULT mmr = Resolve(reinterpret_cast<UINT_PTR>(hmxobj), fdwControls, resolved))
        return mmr;
    if (pmxlc == nullptr || pmxlc->cbStruct != sizeof(MIXERLINECONTROLSA) ||
        pmxlc->cbmxctrl != sizeof(MIXERCONTROLA) || pmxlc->pamxctrl == nullptr)
        return MMSYSERR_INVALPARAM;
    const auto& lines = resolved.pCard->lines;

    if (dwQuery == MIXER_GETLINECONTROLSF_ONEBYID) {
        const DWORD dwDestination = pmxlc->dwControlID / kControlsPerLine;
        if (dwDestination >= lines.size())
            return MIXERR_INVALCONTROL;
        pmxlc->dwLineID = LineIdOf(dwDestination);
        FillControl(lines[dwDestination], dwDestination, pmxlc->dwControlID % kControlsPerLine != 0,
                    *pmxlc->pamxctrl);
        return MMSYSERR_NOERROR;
    }

    if (pmxlc->dwLineID < kLineIdBase || pmxlc->dwLineID - kLineIdBase >= lines.size())
        return MIXERR_INVALLINE;
    const DWORD dwDestination = pmxlc->dwLineID - kLineIdBase;
    const CEndpointLine& line = lines[dwDestination];
    if (dwQuery == MIXER_GETLINECONTROLSF_ALL) {
        if (pmxlc->cControls != kControlsPerLine)
            return MMSYSERR_INVALPARAM;
        FillControl(line, dwDestination, false, pmxlc->pamxctrl[0]);
        FillControl(line, dwDestination, true, pmxlc->pamxctrl[1]);
        return MMSYSERR_NOERROR;
    }
    if (pmxlc->dwControlType != MIXERCONTROL_CONTROLTYPE_VOLUME &&
        pmxlc->dwControlType != MIXERCONTROL_CONTROLTYPE_MUTE)
        return MIXERR_INVALCONTROL;
    const bool bMute = pmxlc->dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE;
    pmxlc->dwControlID = bMute ? MuteControlOf(dwDestination) : VolumeControlOf(dwDestination);
    FillControl(line, dwDestination, bMute, *pmxlc->pamxctrl);
    return MMSYSERR_NOERROR;
}

MMRESULT CEndpointMixer::CheckDetails(const CEndpointCard& card, const MIXERCONTROLDETAILS* pmxcd,
                                      CControlRef& ref)
{
    if (pmxcd == nullptr || pmxcd->cbStruct != sizeof(MIXERCONTROLDETAILS))
        return MMSYSERR_INVALPARAM;
    ref.dwDestination = pmxcd->dwControlID / kControlsPerLine;
    if (ref.dwDestination >= card.lines.size())
        return MIXERR_INVALCONTROL;
    ref.bMute = pmxcd->dwControlID % kControlsPerLine != 0;
    ref.pLine = &card.lines[ref.dwDestination];
    // One channel stands for all of them; otherwise the line's own count.
    if (pmxcd->cChannels != 1 && pmxcd->cChannels != ref.pLine->cChannels)
        return MMSYSERR_INVALPARAM;
    if (pmxcd->cMultipleItems != 0 || pmxcd->cbDetails != sizeof(DWORD) || pmxcd->paDetails == nullptr)
        return MMSYSERR_INVALPARAM;
    return MMSYSERR_NOERROR;
}

MMRESULT CEndpointMixer::GetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    const DWORD dwQuery = fdwDetails & kQueryMask;
    if ((fdwDetails & ~(kObjectTypeMask | kQueryMask)) != 0 || dwQuery > MIXER_GETCONTROLDETAILSF_LISTTEXT)
        return MMSYSERR_INVALFLAG;
    CResolved resolved;
    if (const MMRESULT mmr = Resolve(reinterpret_cast<UINT_PTR>(hmxobj), fdwDetails, resolved))
        return mmr;
    if (dwQuery == MIXER_GETCONTROLDETAILSF_LISTTEXT)
        return MMSYSERR_NOTSUPPORTED;
    CControlRef ref;
    if (const MMRESULT mmr = CheckDetails(*resolved.pCard, pmxcd, ref))
        return mmr;

    DWORD dwValue = 0;
    if (ref.bMute) {
        BOOL bMuted = FALSE;
        if (FAILED(ref.pLine->pVolume->GetMute(&bMuted)))
            return MMSYSERR_ERROR;
        dwValue = bMuted ? 1 : 0;
    }
    else {
        float fScalar = 0.0f;
        if (FAILED(ref.pLine->pVolume->GetMasterVolumeLevelScalar(&fScalar)))
            return MMSYSERR_ERROR;
        dwValue = ScalarToValue(fScalar);
    }
    std::fill_n(static_cast<DWORD*>(pmxcd->paDetails), pmxcd->cChannels, dwValue);
    return MMSYSERR_NOERROR;
}

MMRESULT CEndpointMixer::SetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails)
{
    const DWORD dwQuery = fdwDetails & kQueryMask;
    if ((fdwDetails & ~(kObjectTypeMask | kQueryMask)) != 0 || dwQuery > MIXER_SETCONTROLDETAILSF_CUSTOM)
        return MMSYSERR_INVALFLAG;
    CResolved resolved;
    if (const MMRESULT mmr = Resolve(reinterpret_cast<UINT_PTR>(hmxobj), fdwDetails, resolved))
        return mmr;
    if (dwQuery == MIXER_SETCONTROLDETAILSF_CUSTOM)
        return MMSYSERR_NOTSUPPORTED;
    CControlRef ref;
    if (const MMRESULT mmr = CheckDetails(*resolved.pCard, pmxcd, ref))
        return mmr;

    // The endpoint keeps one value for all channels: the loudest channel asked for, which is
    // the one a bar shows.
    const auto* pValues = static_cast<const DWORD*>(pmxcd->paDetails);
    const DWORD dwValue = *std::max_element(pValues, pValues + pmxcd->cChannels);
    if (dwValue > (ref.bMute ? 1 : kVolumeMaximum))
        return MIXERR_INVALVALUE;
    const HRESULT hr =
        ref.bMute ? ref.pLine->pVolume->SetMute(dwValue != 0, &m_guidOwnWrites)
                  : ref.pLine->pVolume->SetMasterVolumeLevelScalar(ValueToScalar(dwValue), &m_guidOwnWrites);
    if (FAILED(hr))
        return MMSYSERR_ERROR;
    // Every successful write is announced, even one that changed nothing, as WINMM does; the
    // echo that Core Audio sends with this mixer's context is skipped (VolumeCallback.h).
    m_pRegistry->PostEndpointChange(ref.pLine->strEndpointId, ref.bMute);
    return MMSYSERR_NOERROR;
}
