// What the test build's process holds, for soak tests that look for leaks from outside: GDI and
// USER objects and committed private memory. Windows answers the first two through
// GetGuiResources; Wine answers 0, so they are counted another way there (see SimResources.cpp).
#pragma once

#include <windows.h>

namespace sim {

enum class Resource : DWORD { GdiObjects = 0, UserObjects = 1, PrivateKiB = 2 };

// The count for this process.
DWORD CountResource(Resource resource);

} // namespace sim
