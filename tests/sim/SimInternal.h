// Shared between the parts of the simulated mixer: the model's write path and the test-build
// host (log file, driver window, forwarding between copies).
#pragma once

#include "sim/SimMixer.h"

namespace sim {
enum class Origin { Program, Driver, Copy };

// Checks, stores and announces a write in the model's layout.
MMRESULT ApplyValues(UINT nCard, DWORD dwControlID, const std::vector<DWORD>& values, Origin origin);

// Starts the test-build host on the first mixer call when the environment asks for it.
void EnsureHost();

// Logs a successful write and, for the program's own writes, forwards it to the other copies.
void ReportWrite(Origin origin, UINT nCard, DWORD dwControlID, const std::vector<DWORD>& values);

bool HasCards();

// Why a line's channel count or a control's item count is beyond the model's limits; empty
// when it is within them.
std::string CountError(const Line& line);
std::string CountError(const Control& control);

// Adds all cards or, when one of them is bad, none.
bool AddCards(std::vector<Card> cards, std::string* pstrError);
} // namespace sim
