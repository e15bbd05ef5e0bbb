// How the applications of a card's speakers' sessions (AudioSessions.h) appear in the card model:
// application n is source n of the speakers destination, with the line id n << 16 (the source's
// index in the high word, the destination's, 0, in the low word), a VOLUME control 0x100 + 2n
// and a MUTE control 0x101 + 2n; its line is a wave output of one channel that carries the
// driver word kApplicationLine, the program's identity and its state as line flags. A change of
// an application reaches the card's events as the change of its line or of one of its controls.
#pragma once

#include "mixer/endpoint/AudioSessions.h"
#include "mixer/frontend/CardModel.h"

#include <memory>
#include <vector>

// The speakers' source lines, one per application, in their order.
std::vector<SLineLayout> SessionLines(const std::vector<SApplicationLine>& applications);
// The application whose control this is; false for a control of a destination.
bool SessionOfControl(DWORD dwControlID, size_t& nApplication);
// Tells the events, while they are, of a change of application n on pCard.
void TellSessionChange(const std::weak_ptr<ICardEvents>& pEvents, const CModelCard* pCard,
                       size_t nApplication, SessionChange change, const GUID& guidContext);
