#include "sim/SimInternal.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>

namespace sim {
namespace {
struct OpenHandle {
    UINT nCard;
    HWND hWndCallback;
};

struct State {
    std::vector<Card> cards;
    std::map<HMIXER, OpenHandle> handles;
    // Handle values far above any device index, so that an object without a flag is never
    // both; never reused, so a reopened device gets a new handle as on Windows.
    UINT_PTR nNextHandle = 0x5A000;
    std::array<unsigned, static_cast<size_t>(Function::Count)> calls{};
};

State& TheState()
{
    static State state;
    return state;
}

// Every entry point counts itself and gives the test-build host its chance to start.
void Enter(Function function)
{
    EnsureHost();
    ++TheState().calls[static_cast<size_t>(function)];
}

constexpr DWORD kObjectTypeMask = 0xF0000000;
constexpr DWORD kQueryMask = 0x0000000F;

bool IsUniform(const Control& control)
{
    return (control.dwControlType & MIXERCONTROL_CT_CLASS_MASK) != MIXERCONTROL_CT_CLASS_FADER;
}

DWORD ControlChannels(const Control& control, const Line& line)
{
    return IsUniform(control) ? 1 : line.cChannels;
}

size_t ValueCount(const Control& control, const Line& line)
{
    return size_t{ControlChannels(control, line)} * std::max<DWORD>(control.cMultipleItems, 1);
}

struct LineRef {
    Line* pLine = nullptr;
    DWORD dwDestination = 0;
    DWORD dwSource = 0;
    bool bSource = false;
    DWORD cConnections = 0;
};

template <typename Visit>
bool VisitLines(Card& card, Visit visit)
{
    for (DWORD d = 0; d < card.destinations.size(); ++d) {
        Destination& dest = card.destinations[d];
        if (visit(LineRef{&dest.line, d, 0, false, static_cast<DWORD>(dest.sources.size())}))
            return true;
        for (DWORD s = 0; s < dest.sources.size(); ++s)
            if (visit(LineRef{&dest.sources[s], d, s, true, 0}))
                return true;
    }
    return false;
}

LineRef FindLine(Card& card, DWORD dwLineID)
{
    LineRef found;
    VisitLines(card, [&](const LineRef& ref) {
        if (ref.pLine->dwLineID != dwLineID)
            return false;
        found = ref;
        return true;
    });
    return found;
}

struct ControlRef {
    Control* pControl = nullptr;
    Line* pLine = nullptr;
};

ControlRef FindControl(Card& card, DWORD dwControlID)
{
    ControlRef found;
    VisitLines(card, [&](const LineRef& ref) {
        for (Control& control : ref.pLine->controls)
            if (control.dwControlID == dwControlID) {
                found = {&control, ref.pLine};
                return true;
            }
        return false;
    });
    return found;
}

// The card a mixer object names, or the error a real WINMM gives for it.
MMRESULT ResolveCard(UINT_PTR nObject, DWORD fdwFlags, UINT& nCard)
{
    State& state = TheState();
    const auto it = state.handles.find(reinterpret_cast<HMIXER>(nObject));
    switch (fdwFlags & kObjectTypeMask) {
    case MIXER_OBJECTF_HMIXER:
        if (it == state.handles.end())
            return MMSYSERR_INVALHANDLE;
        nCard = it->second.nCard;
        return MMSYSERR_NOERROR;
    case MIXER_OBJECTF_MIXER:
        if (it != state.handles.end()) {
            nCard = it->second.nCard;
            return MMSYSERR_NOERROR;
        }
        if (nObject >= state.cards.size())
            return MMSYSERR_BADDEVICEID;
        nCard = static_cast<UINT>(nObject);
        return MMSYSERR_NOERROR;
    default:
        return MMSYSERR_INVALFLAG;
    }
}

MMRESULT ResolveCard(HMIXEROBJ hObject, DWORD fdwFlags, Card*& pCard)
{
    UINT nCard = 0;
    const MMRESULT mmr = ResolveCard(reinterpret_cast<UINT_PTR>(hObject), fdwFlags, nCard);
    pCard = mmr == MMSYSERR_NOERROR ? &TheState().cards[nCard] : nullptr;
    return mmr;
}

void CopyName(char* pszTarget, size_t cchTarget, const std::string& strName)
{
    const size_t cch = std::min(strName.size(), cchTarget - 1);
    std::memcpy(pszTarget, strName.data(), cch);
    pszTarget[cch] = '\0';
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

void FillLine(const Card& card, const LineRef& ref, MIXERLINEA& mxl)
{
    const Line& line = *ref.pLine;
    mxl.dwDestination = ref.dwDestination;
    mxl.dwSource = ref.bSource ? ref.dwSource : 0;
    mxl.dwLineID = line.dwLineID;
    mxl.fdwLine = MIXERLINE_LINEF_ACTIVE | (ref.bSource ? MIXERLINE_LINEF_SOURCE : 0);
    mxl.dwUser = 0;
    mxl.dwComponentType = line.dwComponentType;
    mxl.cChannels = line.cChannels;
    mxl.cConnections = ref.cConnections;
    mxl.cControls = static_cast<DWORD>(line.controls.size());
    CopyName(mxl.szShortName, sizeof mxl.szShortName, line.strName);
    CopyName(mxl.szName, sizeof mxl.szName, line.strName);
    mxl.Target = {};
    mxl.Target.dwType = TargetType(line.dwComponentType);
    mxl.Target.vDriverVersion = 0x0100;
    CopyName(mxl.Target.szPname, sizeof mxl.Target.szPname, card.strName);
}

void FillControl(const Control& control, MIXERCONTROLA& mxc)
{
    mxc = {};
    mxc.cbStruct = sizeof mxc;
    mxc.dwControlID = control.dwControlID;
    mxc.dwControlType = control.dwControlType;
    mxc.fdwControl = (IsUniform(control) ? MIXERCONTROL_CONTROLF_UNIFORM : 0) |
                     (control.cMultipleItems > 0 ? MIXERCONTROL_CONTROLF_MULTIPLE : 0);
    mxc.cMultipleItems = control.cMultipleItems;
    const std::string strName = "Control " + std::to_string(control.dwControlID);
    CopyName(mxc.szShortName, sizeof mxc.szShortName, strName);
    CopyName(mxc.szName, sizeof mxc.szName, strName);
    mxc.Bounds.dwMinimum = 0;
    mxc.Bounds.dwMaximum = control.dwMaximum;
    mxc.Metrics.cSteps = control.cSteps;
}

MMRESULT CheckDetails(Card& card, const MIXERCONTROLDETAILS* pmxcd, ControlRef& ref)
{
    if (pmxcd == nullptr || pmxcd->cbStruct != sizeof(MIXERCONTROLDETAILS))
        return MMSYSERR_INVALPARAM;
    ref = FindControl(card, pmxcd->dwControlID);
    if (ref.pControl == nullptr)
        return MIXERR_INVALCONTROL;
    if (pmxcd->cChannels != 1 && pmxcd->cChannels != ref.pLine->cChannels)
        return MMSYSERR_INVALPARAM;
    if (pmxcd->cMultipleItems != ref.pControl->cMultipleItems)
        return MMSYSERR_INVALPARAM;
    if (pmxcd->cbDetails != sizeof(DWORD) || pmxcd->paDetails == nullptr)
        return MMSYSERR_INVALPARAM;
    return MMSYSERR_NOERROR;
}

// Converts between the caller's channel count and the control's own: one caller channel
// stands for all of them, a uniform control answers the same value on every channel.
std::vector<DWORD> ToModelLayout(const Control& control, const Line& line, const DWORD* pValues,
                                 DWORD cCallerChannels)
{
    const DWORD cOwn = ControlChannels(control, line);
    const DWORD cItems = std::max<DWORD>(control.cMultipleItems, 1);
    std::vector<DWORD> values(size_t{cOwn} * cItems);
    for (DWORD i = 0; i < cItems; ++i)
        for (DWORD c = 0; c < cOwn; ++c)
            values[i * cOwn + c] = pValues[i * cCallerChannels + std::min(c, cCallerChannels - 1)];
    return values;
}

void FromModelLayout(const Control& control, const Line& line, DWORD* pValues, DWORD cCallerChannels)
{
    const DWORD cOwn = ControlChannels(control, line);
    const DWORD cItems = std::max<DWORD>(control.cMultipleItems, 1);
    for (DWORD i = 0; i < cItems; ++i)
        for (DWORD c = 0; c < cCallerChannels; ++c)
            pValues[i * cCallerChannels + c] = control.values[i * cOwn + std::min(c, cOwn - 1)];
}

bool CheckCard(Card& card, std::string& strError)
{
    std::set<DWORD> lineIds;
    std::set<DWORD> controlIds;
    const bool bBad = VisitLines(card, [&](const LineRef& ref) {
        const std::string strLine = "line id " + std::to_string(ref.pLine->dwLineID);
        if (!lineIds.insert(ref.pLine->dwLineID).second) {
            strError = strLine + " repeats";
            return true;
        }
        strError = CountError(*ref.pLine);
        if (!strError.empty()) {
            strError = strLine + ": " + strError;
            return true;
        }
        for (Control& control : ref.pLine->controls) {
            const std::string strControl = "control id " + std::to_string(control.dwControlID);
            if (!controlIds.insert(control.dwControlID).second) {
                strError = strControl + " repeats";
                return true;
            }
            strError = CountError(control);
            if (!strError.empty()) {
                strError = strControl + ": " + strError;
                return true;
            }
            // Within the limits, so this stays small whatever the card says.
            control.values.resize(ValueCount(control, *ref.pLine), 0);
        }
        return false;
    });
    return !bBad;
}
} // namespace

std::string CountError(const Line& line)
{
    if (line.cChannels < 1 || line.cChannels > kMaxChannels)
        return "channels must be 1 to " + std::to_string(kMaxChannels);
    return {};
}

std::string CountError(const Control& control)
{
    if (control.cMultipleItems > kMaxItems)
        return "items must be 0 to " + std::to_string(kMaxItems);
    return {};
}

Control Volume(DWORD dwControlID, std::vector<DWORD> values, DWORD cSteps, DWORD dwMaximum)
{
    return {dwControlID, MIXERCONTROL_CONTROLTYPE_VOLUME, dwMaximum, cSteps, 0, std::move(values)};
}

Control Mute(DWORD dwControlID, DWORD dwValue)
{
    return {dwControlID, MIXERCONTROL_CONTROLTYPE_MUTE, 1, 1, 0, {dwValue}};
}

Control Mixer(DWORD dwControlID, std::vector<DWORD> items)
{
    const auto cItems = static_cast<DWORD>(items.size());
    return {dwControlID, MIXERCONTROL_CONTROLTYPE_MIXER, 1, cItems, cItems, std::move(items)};
}

Control Mux(DWORD dwControlID, std::vector<DWORD> items)
{
    const auto cItems = static_cast<DWORD>(items.size());
    return {dwControlID, MIXERCONTROL_CONTROLTYPE_MUX, 1, cItems, cItems, std::move(items)};
}

void Reset()
{
    State& state = TheState();
    state.cards.clear();
    state.handles.clear();
    state.calls = {};
}

bool AddCards(std::vector<Card> cards, std::string* pstrError)
{
    std::string strError;
    for (Card& card : cards)
        if (!CheckCard(card, strError)) {
            if (pstrError != nullptr)
                *pstrError = card.strName + ": " + strError;
            return false;
        }
    auto& all = TheState().cards;
    all.insert(all.end(), std::make_move_iterator(cards.begin()), std::make_move_iterator(cards.end()));
    return true;
}

bool AddCard(Card card, std::string* pstrError)
{
    std::vector<Card> cards;
    cards.push_back(std::move(card));
    return AddCards(std::move(cards), pstrError);
}

bool HasCards()
{
    return !TheState().cards.empty();
}

MMRESULT ApplyValues(UINT nCard, DWORD dwControlID, const std::vector<DWORD>& values, Origin origin)
{
    State& state = TheState();
    if (nCard >= state.cards.size())
        return MMSYSERR_BADDEVICEID;
    const ControlRef ref = FindControl(state.cards[nCard], dwControlID);
    if (ref.pControl == nullptr)
        return MIXERR_INVALCONTROL;
    Control& control = *ref.pControl;
    if (values.size() != ValueCount(control, *ref.pLine))
        return MMSYSERR_INVALPARAM;
    if (std::any_of(values.begin(), values.end(), [&](DWORD v) { return v > control.dwMaximum; }))
        return MIXERR_INVALVALUE;

    std::vector<DWORD> stored = values;
    if (control.dwControlType == MIXERCONTROL_CONTROLTYPE_MUX) {
        const auto itFirst = std::find_if(stored.begin(), stored.end(), [](DWORD v) { return v != 0; });
        if (itFirst == stored.end())
            return MIXERR_INVALVALUE;
        std::fill(stored.begin(), stored.end(), 0);
        stored[itFirst - stored.begin()] = 1;
    }
    control.values = stored;

    for (const auto& [hMixer, handle] : state.handles)
        if (handle.nCard == nCard && handle.hWndCallback != nullptr)
            PostMessageA(handle.hWndCallback, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(hMixer),
                         static_cast<LPARAM>(dwControlID));
    ReportWrite(origin, nCard, dwControlID, stored);
    return MMSYSERR_NOERROR;
}

MMRESULT SetValues(UINT nCard, DWORD dwControlID, const std::vector<DWORD>& values)
{
    return ApplyValues(nCard, dwControlID, values, Origin::Driver);
}

std::vector<DWORD> GetValues(UINT nCard, DWORD dwControlID)
{
    State& state = TheState();
    if (nCard >= state.cards.size())
        return {};
    const ControlRef ref = FindControl(state.cards[nCard], dwControlID);
    return ref.pControl != nullptr ? ref.pControl->values : std::vector<DWORD>{};
}

unsigned CallCount(Function function)
{
    return TheState().calls[static_cast<size_t>(function)];
}

void ResetCallCounts()
{
    TheState().calls = {};
}

size_t OpenHandleCount()
{
    return TheState().handles.size();
}
} // namespace sim

using namespace sim;

extern "C" UINT WINAPI mixerGetNumDevs()
{
    Enter(Function::GetNumDevs);
    return static_cast<UINT>(TheState().cards.size());
}

extern "C" MMRESULT WINAPI mixerGetDevCapsA(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps)
{
    Enter(Function::GetDevCaps);
    if (pmxcaps == nullptr)
        return MMSYSERR_INVALPARAM;
    UINT nCard = 0;
    if (const MMRESULT mmr = ResolveCard(uMxId, MIXER_OBJECTF_MIXER, nCard))
        return mmr;
    const Card& card = TheState().cards[nCard];
    // Like WINMM, copies as much of the structure as the caller has room for.
    MIXERCAPSA caps{};
    caps.vDriverVersion = 0x0100;
    CopyName(caps.szPname, sizeof caps.szPname, card.strName);
    caps.cDestinations = static_cast<DWORD>(card.destinations.size());
    std::memcpy(pmxcaps, &caps, std::min<size_t>(cbmxcaps, sizeof caps));
    return MMSYSERR_NOERROR;
}

extern "C" MMRESULT WINAPI mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback,
                                     DWORD_PTR /*dwInstance*/, DWORD fdwOpen)
{
    Enter(Function::Open);
    if (phmx == nullptr)
        return MMSYSERR_INVALPARAM;
    const DWORD dwCallbackType = fdwOpen & CALLBACK_TYPEMASK;
    if ((fdwOpen & ~(CALLBACK_TYPEMASK | kObjectTypeMask)) != 0 ||
        (dwCallbackType != CALLBACK_NULL && dwCallbackType != CALLBACK_WINDOW))
        return MMSYSERR_INVALFLAG;
    UINT nCard = 0;
    if (const MMRESULT mmr = ResolveCard(uMxId, fdwOpen & kObjectTypeMask, nCard))
        return mmr;
    const HWND hWnd = dwCallbackType == CALLBACK_WINDOW ? reinterpret_cast<HWND>(dwCallback) : nullptr;
    if (hWnd != nullptr && !IsWindow(hWnd))
        return MMSYSERR_INVALPARAM;

    State& state = TheState();
    const auto hMixer = reinterpret_cast<HMIXER>(state.nNextHandle);
    state.nNextHandle += 4;
    state.handles[hMixer] = {nCard, hWnd};
    *phmx = hMixer;
    return MMSYSERR_NOERROR;
}

extern "C" MMRESULT WINAPI mixerClose(HMIXER hmx)
{
    Enter(Function::Close);
    return TheState().handles.erase(hmx) == 1 ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

extern "C" MMRESULT WINAPI mixerGetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId)
{
    Enter(Function::GetID);
    if ((fdwId & ~kObjectTypeMask) != 0)
        return MMSYSERR_INVALFLAG;
    UINT nCard = 0;
    if (const MMRESULT mmr = ResolveCard(reinterpret_cast<UINT_PTR>(hmxobj), fdwId, nCard))
        return mmr;
    if (puMxId == nullptr)
        return MMSYSERR_INVALPARAM;
    *puMxId = nCard;
    return MMSYSERR_NOERROR;
}

extern "C" MMRESULT WINAPI mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo)
{
    Enter(Function::GetLineInfo);
    const DWORD dwQuery = fdwInfo & kQueryMask;
    if ((fdwInfo & ~(kObjectTypeMask | kQueryMask)) != 0 || dwQuery > MIXER_GETLINEINFOF_TARGETTYPE)
        return MMSYSERR_INVALFLAG;
    Card* pCard = nullptr;
    if (const MMRESULT mmr = ResolveCard(hmxobj, fdwInfo, pCard))
        return mmr;
    if (pmxl == nullptr || pmxl->cbStruct != sizeof(MIXERLINEA))
        return MMSYSERR_INVALPARAM;

    LineRef found;
    switch (dwQuery) {
    case MIXER_GETLINEINFOF_DESTINATION:
        if (pmxl->dwDestination < pCard->destinations.size())
            found = FindLine(*pCard, pCard->destinations[pmxl->dwDestination].line.dwLineID);
        break;
    case MIXER_GETLINEINFOF_SOURCE:
        if (pmxl->dwDestination < pCard->destinations.size() &&
            pmxl->dwSource < pCard->destinations[pmxl->dwDestination].sources.size())
            found =
                FindLine(*pCard, pCard->destinations[pmxl->dwDestination].sources[pmxl->dwSource].dwLineID);
        break;
    case MIXER_GETLINEINFOF_LINEID:
        found = FindLine(*pCard, pmxl->dwLineID);
        break;
    case MIXER_GETLINEINFOF_COMPONENTTYPE:
        VisitLines(*pCard, [&](const LineRef& ref) {
            if (ref.pLine->dwComponentType != pmxl->dwComponentType)
                return false;
            found = ref;
            return true;
        });
        break;
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
    if (found.pLine == nullptr)
        return MIXERR_INVALLINE;
    FillLine(*pCard, found, *pmxl);
    return MMSYSERR_NOERROR;
}

extern "C" MMRESULT WINAPI mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc,
                                                 DWORD fdwControls)
{
    Enter(Function::GetLineControls);
    const DWORD dwQuery = fdwControls & kQueryMask;
    if ((fdwControls & ~(kObjectTypeMask | kQueryMask)) != 0 || dwQuery > MIXER_GETLINECONTROLSF_ONEBYTYPE)
        return MMSYSERR_INVALFLAG;
    Card* pCard = nullptr;
    if (const MMRESULT mmr = ResolveCard(hmxobj, fdwControls, pCard))
        return mmr;
    if (pmxlc == nullptr || pmxlc->cbStruct != sizeof(MIXERLINECONTROLSA) ||
        pmxlc->cbmxctrl != sizeof(MIXERCONTROLA) || pmxlc->pamxctrl == nullptr)
        return MMSYSERR_INVALPARAM;

    if (dwQuery == MIXER_GETLINECONTROLSF_ONEBYID) {
        const ControlRef ref = FindControl(*pCard, pmxlc->dwControlID);
        if (ref.pControl == nullptr)
            return MIXERR_INVALCONTROL;
        pmxlc->dwLineID = ref.pLine->dwLineID;
        FillControl(*ref.pControl, *pmxlc->pamxctrl);
        return MMSYSERR_NOERROR;
    }

    const Line* pLine = FindLine(*pCard, pmxlc->dwLineID).pLine;
    if (pLine == nullptr)
        return MIXERR_INVALLINE;
    if (dwQuery == MIXER_GETLINECONTROLSF_ALL) {
        if (pmxlc->cControls == 0 || pmxlc->cControls != pLine->controls.size())
            return MMSYSERR_INVALPARAM;
        for (size_t i = 0; i < pLine->controls.size(); ++i)
            FillControl(pLine->controls[i], pmxlc->pamxctrl[i]);
        return MMSYSERR_NOERROR;
    }
    const auto it = std::find_if(pLine->controls.begin(), pLine->controls.end(),
                                 [&](const Control& c) { return c.dwControlType == pmxlc->dwControlType; });
    if (it == pLine->controls.end())
        return MIXERR_INVALCONTROL;
    pmxlc->dwControlID = it->dwControlID;
    FillControl(*it, *pmxlc->pamxctrl);
    return MMSYSERR_NOERROR;
}

extern "C" MMRESULT WINAPI mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd,
                                                   DWORD fdwDetails)
{
    Enter(Function::GetControlDetails);
    const DWORD dwQuery = fdwDetails & kQueryMask;
    if ((fdwDetails & ~(kObjectTypeMask | kQueryMask)) != 0 || dwQuery > MIXER_GETCONTROLDETAILSF_LISTTEXT)
        return MMSYSERR_INVALFLAG;
    Card* pCard = nullptr;
    if (const MMRESULT mmr = ResolveCard(hmxobj, fdwDetails, pCard))
        return mmr;
    if (dwQuery == MIXER_GETCONTROLDETAILSF_LISTTEXT)
        return MMSYSERR_NOTSUPPORTED;
    ControlRef ref;
    if (const MMRESULT mmr = CheckDetails(*pCard, pmxcd, ref))
        return mmr;
    FromModelLayout(*ref.pControl, *ref.pLine, static_cast<DWORD*>(pmxcd->paDetails), pmxcd->cChannels);
    return MMSYSERR_NOERROR;
}

extern "C" MMRESULT WINAPI mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd,
                                                  DWORD fdwDetails)
{
    Enter(Function::SetControlDetails);
    const DWORD dwQuery = fdwDetails & kQueryMask;
    if ((fdwDetails & ~(kObjectTypeMask | kQueryMask)) != 0 || dwQuery > MIXER_SETCONTROLDETAILSF_CUSTOM)
        return MMSYSERR_INVALFLAG;
    Card* pCard = nullptr;
    if (const MMRESULT mmr = ResolveCard(hmxobj, fdwDetails, pCard))
        return mmr;
    if (dwQuery == MIXER_SETCONTROLDETAILSF_CUSTOM)
        return MMSYSERR_NOTSUPPORTED;
    ControlRef ref;
    if (const MMRESULT mmr = CheckDetails(*pCard, pmxcd, ref))
        return mmr;
    const auto nCard = static_cast<UINT>(pCard - TheState().cards.data());
    return ApplyValues(nCard, pmxcd->dwControlID,
                       ToModelLayout(*ref.pControl, *ref.pLine, static_cast<const DWORD*>(pmxcd->paDetails),
                                     pmxcd->cChannels),
                       Origin::Program);
}
