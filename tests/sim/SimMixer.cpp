#include "sim/SimInternal.h"

#include "fw/AnsiText.h"
#include "mixer/frontend/MixerFrontEnd.h"

#include <dbt.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <set>

namespace sim {
namespace {
class CSimCard;

struct StoredCard {
    std::shared_ptr<CSimCard> pModelCard;
    // By control id, in the model's layout.
    std::map<DWORD, std::vector<DWORD>> values;
};

// Members in this order so that the front end, which closes its handles as it goes, goes first.
struct State {
    std::vector<StoredCard> cards;
    // How many open handles listen to each card.
    std::map<UINT, size_t> listeners;
    std::weak_ptr<ICardEvents> pEvents;
    std::array<unsigned, static_cast<size_t>(Function::Count)> calls{};
    std::unique_ptr<CMixerFrontEnd> pFrontEnd;
};

State& TheState()
{
    static State state;
    return state;
}

class CSimListening final : public CListening {
public:
    explicit CSimListening(UINT nCard) : m_nCard(nCard) { ++TheState().listeners[nCard]; }
    ~CSimListening() override { --TheState().listeners[m_nCard]; }
    CSimListening(const CSimListening&) = delete;
    CSimListening& operator=(const CSimListening&) = delete;

private:
    const UINT m_nCard;
};

class CSimCard final : public CModelCard {
public:
    CSimCard(UINT nCard, SCardLayout layout) : m_nCard(nCard), m_layout(std::move(layout)) {}

    const SCardLayout& Layout() const override { return m_layout; }

    MMRESULT Read(const SControlPlace& control, std::vector<DWORD>& values) const override
    {
        values = TheState().cards[m_nCard].values[control.pControl->dwControlID];
        return MMSYSERR_NOERROR;
    }

    MMRESULT Write(const SControlPlace& control, const std::vector<DWORD>& values) override
    {
        return ApplyValues(m_nCard, control.pControl->dwControlID, values, Origin::Program);
    }

    std::unique_ptr<CListening> Listen() override { return std::make_unique<CSimListening>(m_nCard); }

private:
    const UINT m_nCard;
    const SCardLayout m_layout;
};

class CSimModel final : public CCardModel {
public:
    void Attach(std::weak_ptr<ICardEvents> pEvents, const GUID&) override
    {
        TheState().pEvents = std::move(pEvents);
    }

    const CModelCards& Cards() override
    {
        m_cards.clear();
        for (const StoredCard& card : TheState().cards)
            m_cards.push_back(card.pModelCard);
        return m_cards;
    }

private:
    CModelCards m_cards;
};

CMixerFrontEnd& FrontEnd()
{
    State& state = TheState();
    if (!state.pFrontEnd)
        state.pFrontEnd = std::make_unique<CMixerFrontEnd>(std::make_unique<CSimModel>());
    return *state.pFrontEnd;
}

// The line without its values.
SLineLayout LineLayout(const Line& line)
{
    return {line.dwLineID,
            line.dwComponentType,
            line.cChannels,
            line.strName,
            std::vector<SControlLayout>(line.controls.begin(), line.controls.end()),
            line.fdwLine,
            line.dwUser,
            line.dwIdentity};
}

SCardLayout CardLayout(const Card& card)
{
    SCardLayout layout{card.strName, {}};
    for (const Destination& dest : card.destinations) {
        SDestinationLayout destLayout{LineLayout(dest.line), {}};
        for (const Line& source : dest.sources)
            destLayout.sources.push_back(LineLayout(source));
        layout.destinations.push_back(std::move(destLayout));
    }
    return layout;
}

// The values of every control of a card, each list filled up with 0 to its control's size.
std::map<DWORD, std::vector<DWORD>> CardValues(const Card& card, const SCardLayout& layout)
{
    std::map<DWORD, std::vector<DWORD>> values;
    const auto take = [&](const Line& line) {
        for (const Control& control : line.controls) {
            std::vector<DWORD> list = control.values;
            list.resize(ValueCount(FindControl(layout, control.dwControlID)), 0);
            values[control.dwControlID] = std::move(list);
        }
    };
    for (const Destination& dest : card.destinations) {
        take(dest.line);
        std::for_each(dest.sources.begin(), dest.sources.end(), take);
    }
    return values;
}

// Why a card cannot be held: a repeated id or a count beyond the limits; empty when it can.
std::string CardError(const Card& card)
{
    std::set<DWORD> lineIds;
    std::set<DWORD> controlIds;
    std::string strError;
    const auto checkLine = [&](const Line& line) {
        const std::string strLine = "line id " + std::to_string(line.dwLineID);
        if (!lineIds.insert(line.dwLineID).second)
            return strLine + " repeats";
        if (const std::string strCount = CountError(line); !strCount.empty())
            return strLine + ": " + strCount;
        for (const Control& control : line.controls) {
            const std::string strControl = "control id " + std::to_string(control.dwControlID);
            if (!controlIds.insert(control.dwControlID).second)
                return strControl + " repeats";
            if (const std::string strCount = CountError(control); !strCount.empty())
                return strControl + ": " + strCount;
        }
        return std::string();
    };
    for (const Destination& dest : card.destinations) {
        if (strError = checkLine(dest.line); !strError.empty())
            return strError;
        for (const Line& source : dest.sources)
            if (strError = checkLine(source); !strError.empty())
                return strError;
    }
    return strError;
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
    return {{dwControlID, MIXERCONTROL_CONTROLTYPE_VOLUME, dwMaximum, cSteps, 0}, std::move(values)};
}

Control Mute(DWORD dwControlID, DWORD dwValue)
{
    return {{dwControlID, MIXERCONTROL_CONTROLTYPE_MUTE, 1, 1, 0}, {dwValue}};
}

Control Mixer(DWORD dwControlID, std::vector<DWORD> items)
{
    const auto cItems = static_cast<DWORD>(items.size());
    return {{dwControlID, MIXERCONTROL_CONTROLTYPE_MIXER, 1, cItems, cItems}, std::move(items)};
}

Control Mux(DWORD dwControlID, std::vector<DWORD> items)
{
    const auto cItems = static_cast<DWORD>(items.size());
    return {{dwControlID, MIXERCONTROL_CONTROLTYPE_MUX, 1, cItems, cItems}, std::move(items)};
}

void Reset()
{
    State& state = TheState();
    // The front end goes first: its handles close and stop listening to the cards.
    state.pFrontEnd.reset();
    state.cards.clear();
    state.calls = {};
}

bool AddCards(std::vector<Card> cards, std::string* pstrError)
{
    for (const Card& card : cards)
        if (const std::string strError = CardError(card); !strError.empty()) {
            if (pstrError != nullptr)
                *pstrError = ToAnsi(card.strName) + ": " + strError;
            return false;
        }
    auto& stored = TheState().cards;
    for (const Card& card : cards) {
        const auto nCard = static_cast<UINT>(stored.size());
        auto pModelCard = std::make_shared<CSimCard>(nCard, CardLayout(card));
        stored.push_back({pModelCard, CardValues(card, pModelCard->Layout())});
    }
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
    StoredCard& card = state.cards[nCard];
    const SCardLayout& layout = card.pModelCard->Layout();
    if (const MMRESULT mmr = CheckValues(layout, dwControlID, values))
        return mmr;

    std::vector<DWORD> stored = values;
    if (FindControl(layout, dwControlID).pControl->dwControlType == MIXERCONTROL_CONTROLTYPE_MUX) {
        const auto itFirst = std::find_if(stored.begin(), stored.end(), [](DWORD v) { return v != 0; });
        std::fill(stored.begin(), stored.end(), 0);
        stored[itFirst - stored.begin()] = 1;
    }
    card.values[dwControlID] = stored;

    // The front end announces the program's own writes itself.
    if (const auto pEvents = state.pEvents.lock();
        pEvents && origin != Origin::Program && state.listeners[nCard])
        pEvents->ControlChanged(card.pModelCard.get(), dwControlID, GUID_NULL);
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
    const auto& values = state.cards[nCard].values;
    const auto it = values.find(dwControlID);
    return it != values.end() ? it->second : std::vector<DWORD>{};
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
    return FrontEnd().OpenHandleCount();
}
} // namespace sim

namespace {

// The front end as the program's mixer functions reach it, each call counted.
class CCountedFrontEnd final : public CMixerBackend {
public:
    UINT GetNumDevs() override { return Counted(sim::Function::GetNumDevs).GetNumDevs(); }
    MMRESULT GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps) override
    {
        return Counted(sim::Function::GetDevCaps).GetDevCaps(uMxId, pmxcaps, cbmxcaps);
    }
    MMRESULT Open(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance,
                  DWORD fdwOpen) override
    {
        return Counted(sim::Function::Open).Open(phmx, uMxId, dwCallback, dwInstance, fdwOpen);
    }
    MMRESULT Close(HMIXER hmx) override { return Counted(sim::Function::Close).Close(hmx); }
    MMRESULT GetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) override
    {
        return Counted(sim::Function::GetID).GetID(hmxobj, puMxId, fdwId);
    }
    MMRESULT GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo) override
    {
        return Counted(sim::Function::GetLineInfo).GetLineInfo(hmxobj, pmxl, fdwInfo);
    }
    MMRESULT GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls) override
    {
        return Counted(sim::Function::GetLineControls).GetLineControls(hmxobj, pmxlc, fdwControls);
    }
    MMRESULT GetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override
    {
        return Counted(sim::Function::GetControlDetails).GetControlDetails(hmxobj, pmxcd, fdwDetails);
    }
    MMRESULT SetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override
    {
        return Counted(sim::Function::SetControlDetails).SetControlDetails(hmxobj, pmxcd, fdwDetails);
    }
    MMRESULT GetDevCaps(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) override
    {
        return Counted(sim::Function::GetDevCaps).GetDevCaps(uMxId, pmxcaps, cbmxcaps);
    }
    MMRESULT GetLineInfo(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) override
    {
        return Counted(sim::Function::GetLineInfo).GetLineInfo(hmxobj, pmxl, fdwInfo);
    }
    MMRESULT GetLineControls(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) override
    {
        return Counted(sim::Function::GetLineControls).GetLineControls(hmxobj, pmxlc, fdwControls);
    }
    MMRESULT GetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override
    {
        return Counted(sim::Function::GetControlDetails).GetControlDetailsW(hmxobj, pmxcd, fdwDetails);
    }

private:
    static CMixerBackend& Counted(sim::Function function)
    {
        ++sim::TheState().calls[static_cast<size_t>(function)];
        return sim::FrontEnd();
    }
};

} // namespace

// Every call gives the test-build host its chance to start.
CMixerBackend& MixerFor()
{
    sim::EnsureHost();
    static CCountedFrontEnd counted;
    return counted;
}

// The scripted cards are a WINMM mixer: every change of the devices may be one of the cards.
BOOL IsMixerCardChange(WPARAM wParam, LPARAM)
{
    return wParam == DBT_DEVNODES_CHANGED;
}
