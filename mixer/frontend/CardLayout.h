// The cards of a card model (CardModel.h) as plain values: a card has a name and destinations, a
// destination has sources; every line (destination or source) has an id, a component type, a
// channel count, names and controls; a control has an id, a type, a maximum (the minimum is 0),
// a step count and a number of items. Ids are unique on their card. The front end names the
// controls by their type.
//
// The helpers below are the rules about them that the front end and the models share.
#pragma once

#include "mixer/frontend/ApplicationLine.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

struct SControlLayout {
    DWORD dwControlID = 0;
    DWORD dwControlType = 0;
    DWORD dwMaximum = 0;
    DWORD cSteps = 0;
    DWORD cMultipleItems = 0;
};

// The lines and cards over a kind of control: the front end's over SControlLayout; the scripted
// cards (tests/sim) describe theirs over controls that carry their first values.
template <class Control>
struct TLineLayout {
    DWORD dwLineID = 0;
    DWORD dwComponentType = 0;
    DWORD cChannels = 2;
    // Also the short name, cut to what the record holds (FitName).
    std::wstring strName;
    std::vector<Control> controls;
    // MIXERLINE_LINEF_ACTIVE, 0 (a line that carries no signal now) or MIXERLINE_LINEF_DISCONNECTED.
    DWORD fdwLine = MIXERLINE_LINEF_ACTIVE;
    // MIXERLINE's driver word: kApplicationLine on an application's line, else 0.
    DWORD dwUser = 0;
    // An application's line: its identity (ApplicationLine.h), else 0.
    DWORD dwIdentity = 0;
};

template <class Control>
struct TDestinationLayout {
    TLineLayout<Control> line;
    std::vector<TLineLayout<Control>> sources;
};

template <class Control>
struct TCardLayout {
    std::wstring strName;
    std::vector<TDestinationLayout<Control>> destinations;
};

using SLineLayout = TLineLayout<SControlLayout>;
using SDestinationLayout = TDestinationLayout<SControlLayout>;
using SCardLayout = TCardLayout<SControlLayout>;

// A line with its place on the card.
struct SLinePlace {
    const SLineLayout* pLine = nullptr;
    DWORD dwDestination = 0;
    DWORD dwSource = 0;
    bool bSource = false;
    // A destination's source count; 0 for a source.
    DWORD cConnections = 0;
};

// A control with the line it belongs to.
struct SControlPlace {
    const SControlLayout* pControl = nullptr;
    const SLineLayout* pLine = nullptr;
};

// The first line that isWanted answers true for, the destinations in order, each before its
// sources; no line when there is none.
template <class Wanted>
SLinePlace FirstLine(const SCardLayout& card, Wanted isWanted)
{
    for (DWORD d = 0; d < card.destinations.size(); ++d) {
        const SDestinationLayout& dest = card.destinations[d];
        if (const SLinePlace place{&dest.line, d, 0, false, static_cast<DWORD>(dest.sources.size())};
            isWanted(place))
            return place;
        for (DWORD s = 0; s < dest.sources.size(); ++s)
            if (const SLinePlace place{&dest.sources[s], d, s, true, 0}; isWanted(place))
                return place;
    }
    return {};
}

SLinePlace FindLine(const SCardLayout& card, DWORD dwLineID);
// pControl is null when the card has no control of that id.
SControlPlace FindControl(const SCardLayout& card, DWORD dwControlID);

// Switches, MIXER and MUX controls (every class but faders) hold one value for all channels.
bool IsUniform(const SControlLayout& control);
DWORD ControlChannels(const SControlPlace& control);
// How many values a control holds in the model's layout.
size_t ValueCount(const SControlPlace& control);

// What a line carries, as its flags (TLineLayout::fdwLine) say: a signal now, none now (a line
// that is there but silent), or nothing any more.
enum class LineState { Active, Silent, Gone };
DWORD LineFlags(LineState state);

// A name as a record of cchRecord characters holds it with its terminator: one that is longer is
// cut after a whole character, never inside a surrogate pair, and ends in an ellipsis (U+2026).
std::wstring FitName(const std::wstring& strName, size_t cchRecord);

// WINMM's checks of a write in the model's layout: MIXERR_INVALCONTROL for a control the card
// lacks, MMSYSERR_INVALPARAM for a wrong count of values, MIXERR_INVALVALUE for a value above
// the maximum or a MUX with no item selected.
MMRESULT CheckValues(const SCardLayout& card, DWORD dwControlID, const std::vector<DWORD>& values);
MMRESULT CheckValues(const SControlPlace& control, const std::vector<DWORD>& values);
