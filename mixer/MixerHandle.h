// CScopedMixer owns one open WINMM mixer handle and closes it with mixerClose when it goes out
// of scope or is replaced: open into a local HMIXER and hand it over with Reset on success.
#pragma once

#include "fw/ScopedHandles.h"

#include <windows.h>
#include <mmsystem.h>

// mixerClose failures are ignored: there is nothing left to do with a handle that will not close.
using CScopedMixer = CScopedHandle<HMIXER, CReleaseWith<&mixerClose>>;

// A line record ready for mixerGetLineInfoA: zeroed, with its size filled in.
inline MIXERLINEA EmptyMixerLine()
{
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    return line;
}
