#include "mixer/VolumeScale.h"

#include <algorithm>
#include <cstdint>

namespace {
constexpr DWORD kMaxLevel = 0xFFFF;
} // namespace

DWORD LevelSteps(DWORD cSteps)
{
    return std::min(cSteps, kMaxLevel);
}

DWORD ValueToLevel(DWORD dwValue, DWORD cSteps, DWORD dwMaximum)
{
    if (dwMaximum == 0)
        return 0;
    cSteps = LevelSteps(cSteps);
    // floor(v * steps / max + 1/2), exactly: a half step rounds up, and no floating point
    // error can push an exact half below it.
    const std::uint64_t nTwice = 2ull * dwValue * cSteps + dwMaximum;
    const std::uint64_t nLevel = nTwice / (2ull * dwMaximum);
    return static_cast<DWORD>(std::min<std::uint64_t>(nLevel, cSteps));
}

DWORD LevelToValue(DWORD dwLevel, DWORD cSteps, DWORD dwMaximum)
{
    cSteps = LevelSteps(cSteps);
    if (cSteps == 0)
        return 0;
    const std::uint64_t nLevel = std::min(dwLevel, cSteps);
    return static_cast<DWORD>(nLevel * dwMaximum / cSteps);
}

DWORD KeepRatio(DWORD dwValue, DWORD dwLoudestBefore, DWORD dwLoudest)
{
    if (dwLoudestBefore == 0)
        return dwLoudest;
    const std::uint64_t nTwice = 2ull * std::min(dwValue, dwLoudestBefore) * dwLoudest + dwLoudestBefore;
    return static_cast<DWORD>(nTwice / (2ull * dwLoudestBefore));
}

UINT StepsToPosition(DWORD dwSteps, UINT nChannels, DWORD cSteps, UINT nRangeMax)
{
    cSteps = LevelSteps(cSteps);
    if (cSteps == 0)
        return 0;
    DWORD dwLevel = LOWORD(dwSteps);
    if (nChannels >= 2)
        dwLevel = std::max<DWORD>(dwLevel, HIWORD(dwSteps));
    return static_cast<UINT>(std::uint64_t{dwLevel} * nRangeMax / cSteps);
}

DWORD PositionToSteps(UINT nPosition, UINT nChannels, DWORD cSteps, UINT nRangeMax)
{
    if (nRangeMax == 0)
        return 0;
    const auto dwLevel = static_cast<DWORD>(std::uint64_t{nPosition} * LevelSteps(cSteps) / nRangeMax);
    return nChannels >= 2 ? (dwLevel & 0xFFFF) * 0x10001 : dwLevel;
}
