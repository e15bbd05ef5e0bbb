// The scripted cards: a model of sound cards (mixer/frontend/CardModel.h) under the program's
// WINMM front end, which answers the nine mixer functions over it. Tests and the test build of
// the program link it instead of winmm; it also counts the calls of each function.
//
// The model
//   A card has a name and destinations; a destination has sources. Every line (destination or
//   source) has a line id of the test's choosing (unique on its card), a component type, a
//   channel count, a name and controls. A control has an id (unique on its card), a type, a
//   maximum (the minimum is 0), a step count, a number of items and its values.
//   - Volume-like controls (any type but the ones below) hold one value per channel.
//   - MUTE and other switches, MIXER and MUX controls are uniform: one value, or one value per
//     item for MIXER and MUX. A MUX keeps exactly one item selected: a write keeps the first
//     nonzero item and clears the rest.
//   Real drivers number a destination's line id with its index in the low word; tests that use
//   the source lookup should do the same.
//   A change "by another program" (SetValues, or the driver window below) is checked as the
//   program's own writes are and reaches every handle open on the card.
//
// Topology text (LoadCardsText, LoadCardsFile, and the file named by SONOBAR_SIM_CARDS)
//   One item per line; '#' starts a comment; numbers are decimal or 0x-hex, at most 0xFFFFFFFF.
//   A UTF-8 byte-order mark at the start is skipped, as editors on Windows write one.
//     card    <name...>
//     dest    <lineId> <componentType> <channels> <name...>
//     source  <lineId> <componentType> <channels> <name...>
//     app     <lineId> <identity> <name...>
//     control <controlId> <type> <maximum> <steps> <items> [<value>...]
//   A dest belongs to the last card, a source or app to the last dest, a control to the last
//   dest, source or app. An app is a program's own line (mixer/frontend/ApplicationLine.h), a
//   mono wave source with the application mark and the program's identity (not 0), as the
//   endpoint model gives one. <type> is volume, mute, mixer, mux or a number. Missing values
//   are 0. Example:
//     card Sim Audio
//     dest 0x0 4 2 Speakers
//     control 1 volume 0xFFFF 32 0 0x8000 0x8000
//     control 2 mute 1 1 0
//     dest 0x1 7 2 Recording Control
//     control 3 mixer 1 2 2 1 0
//     source 0x10001 0x1003 1 Microphone
//     control 4 volume 0xFFFF 32 0 0x4000
//   Limits, far above what drivers report, so that no file can make the model allocate without
//   bound: a line has 1 to kMaxChannels channels, a control 0 to kMaxItems items, and a file
//   holds at most kMaxTopologyBytes. A text beyond them is refused like any other bad text,
//   naming the line ("line 3: channels must be 1 to 32"); cards built in code are held to the
//   same counts by AddCard.
//
// The test build of the program (sonobar-sim.exe)
//   On its first mixer call the simulator looks at two environment variables:
//   SONOBAR_SIM_CARDS names a topology file to load; SONOBAR_SIM_LOG names a file to which one
//   line is appended per successful write:
//     <origin> <processId> <card> <controlId> <value>...
//   origin is "program" (this process wrote it), "driver" (a test driver sent it) or "copy"
//   (another sonobar-sim process wrote it); numbers are decimal. A topology file that does not
//   load appends "error <message>" instead and leaves the model without cards, so the program
//   runs as on a machine with no mixer device.
//   When SONOBAR_SIM_CARDS is set it also creates a message-only window of class
//   "SonobarSimMixer" that takes value changes as WM_COPYDATA, see tests/sim/SimDriver.h:
//     dwData 1 (from a test driver) or 2 (from another sonobar-sim process);
//     lpData DWORDs: card, control id, value count n, then n values in the layout of SetValues.
//   It answers TRUE when the change was applied. dwData 3 asks the copy what its process holds
//   (sim/SimResources.h); the answer is the count. dwData 4 adds the cards of a topology text
//   after the copy's cards (SimDriverAddCards); TRUE when they were added. A process forwards its program's
//   own writes to every other such window (origin "copy"), so that copies started on the same topology file
//   share their cards as real programs share a sound card.
#pragma once

#include "mixer/frontend/CardLayout.h"
#include "mixer/frontend/MixerBackend.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

namespace sim {
constexpr DWORD kMaxChannels = 32;
constexpr DWORD kMaxItems = 256;
constexpr size_t kMaxTopologyBytes = 1 << 20;

struct Control : SControlLayout {
    // Item-major: for each item (or the one value set) one value per channel of the control.
    // Shorter lists are filled up with 0.
    std::vector<DWORD> values;
};

using Line = TLineLayout<Control>;
using Destination = TDestinationLayout<Control>;
using Card = TCardLayout<Control>;

// Controls with the bounds that drivers commonly report.
Control Volume(DWORD dwControlID, std::vector<DWORD> values = {}, DWORD cSteps = 32,
               DWORD dwMaximum = 0xFFFF);
Control Mute(DWORD dwControlID, DWORD dwValue = 0);
Control Mixer(DWORD dwControlID, std::vector<DWORD> items);
Control Mux(DWORD dwControlID, std::vector<DWORD> items);

// The nine mixer functions, in the order of CMixerBackend, for counting their calls.
enum class Function {
    GetNumDevs,
    GetDevCaps,
    Open,
    Close,
    GetID,
    GetLineInfo,
    GetLineControls,
    GetControlDetails,
    SetControlDetails,
    Count
};

// Forgets all cards, makes every open handle invalid and clears the call counts.
void Reset();

// Adds a card after the existing ones. FALSE (and nothing added) when a line or control id
// repeats on the card or a count is beyond the limits above.
bool AddCard(Card card, std::string* pstrError = nullptr);

// Adds the cards of a topology text (format above). On an error nothing is added.
bool LoadCardsText(const std::string& strText, std::string* pstrError = nullptr);
bool LoadCardsFile(const std::string& strPath, std::string* pstrError = nullptr);

// A write "by another program": the values in the model's layout (see Control::values), with
// the checks and the notifications of the program's own writes.
MMRESULT SetValues(UINT nCard, DWORD dwControlID, const std::vector<DWORD>& values);

// The control's current values in the model's layout; empty for an unknown control.
std::vector<DWORD> GetValues(UINT nCard, DWORD dwControlID);

unsigned CallCount(Function function);
void ResetCallCounts();
size_t OpenHandleCount();

// The pieces of the test build, for tests in one process. SetLogFile("") stops logging.
void SetLogFile(const std::string& strPath);
// The driver window answers SimDriverSetValues(strSession, ...) (tests/sim/SimDriver.h).
HWND CreateDriverWindow(const std::string& strSession);
} // namespace sim
