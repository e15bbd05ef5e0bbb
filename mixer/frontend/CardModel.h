// What the WINMM front end (MixerFrontEnd.h) needs of a model of sound cards: cards with names,
// lines and controls laid out as plain values (CardLayout.h), the reading and writing of a
// control's values, and word of the changes made elsewhere. A model holds no WINMM rule: the
// front end checks every call, answers every code and sends every notification.
//
// Values travel in the model's layout: for each item of the control (one when it has none) one
// value per channel, where a uniform control (ControlChannels) has one channel.
#pragma once

#include "mixer/frontend/CardLayout.h"

#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <string>
#include <vector>

class CModelCard;

// Where a model tells of the changes, on the mixer's thread: a control or a line of a card (pCard
// is only compared, so it may have gone), each with the context of the write that made it
// (GUID_NULL when none was given), or the set of cards. The front end alone turns them into
// notices for the handles that want them (HandleTable.h), and tells its own writes by their
// context.
class ICardEvents {
public:
    virtual void ControlChanged(const CModelCard* pCard, DWORD dwControlID, const GUID& guidContext) = 0;
    virtual void LineChanged(const CModelCard* pCard, DWORD dwLineID, const GUID& guidContext) = 0;
    virtual void CardsChanged() = 0;

protected:
    ~ICardEvents() = default;
};

// A model's word that it tells one handle of changes; it stops when this goes.
class CListening {
public:
    virtual ~CListening() = default;
};

// One card of a model, as a handle keeps it while it is open.
class CModelCard {
public:
    virtual ~CModelCard() = default;
    virtual const SCardLayout& Layout() const = 0;
    // Takes in the changes of the card's lines reported since the last call (programs' sessions
    // that came or went); the layout holds still between two calls. The front end calls it once
    // per mixer call that names the card, before it looks at the layout.
    virtual void Refresh() {}
    // values comes sized to ValueCount(control); any failure is MMSYSERR_ERROR.
    virtual MMRESULT Read(const SControlPlace& control, std::vector<DWORD>& values) const = 0;
    // The values are checked (CheckValues); the front end announces a successful write itself.
    virtual MMRESULT Write(const SControlPlace& control, const std::vector<DWORD>& values) = 0;
    // Reports changes made elsewhere to this card's lines and controls (ICardEvents) while a
    // result lives; the results of one card may share one hearing.
    virtual std::unique_ptr<CListening> Listen() = 0;
    // What the card drives, for telling it among the cards of a later reading: a model whose
    // Cards() makes new objects for the same card answers the same key for both. Empty: the
    // object itself is the card.
    virtual std::wstring Key() const { return {}; }
};

using CModelCards = std::vector<std::shared_ptr<CModelCard>>;

class CCardModel {
public:
    CCardModel() = default;
    virtual ~CCardModel() = default;
    CCardModel(const CCardModel&) = delete;
    CCardModel& operator=(const CCardModel&) = delete;

    // Called once by the front end, before any other call. guidWrites: the context that the
    // model's writes carry where the system takes one, so that their echo comes back with it.
    virtual void Attach(std::weak_ptr<ICardEvents> pEvents, const GUID& guidWrites) = 0;
    // The cards now, card 0 first; valid until the next call. Only the thread that calls the
    // front end calls it.
    virtual const CModelCards& Cards() = 0;
};
