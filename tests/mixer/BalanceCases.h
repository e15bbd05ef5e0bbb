// What a slider write does to a line of any channel count, as one table that every mixer runs
// (MixerDeviceTest.cpp on the scripted cards, MixerDeviceOnEndpointsTest.cpp on the endpoints):
// the level goes to the loudest channel and every other channel keeps its ratio to it, so equal
// channels stay equal; a silent line has no ratio to keep, and every channel takes the level.
// Values are those of a volume control of 100 steps up to 0xFFFF; the slider's range is 100.
#pragma once

#include <windows.h>

#include <vector>

struct SBalanceCase {
    const char* pszWhat;
    std::vector<DWORD> before;
    UINT nPosition;
    std::vector<DWORD> after;
};

inline const std::vector<SBalanceCase>& BalanceCases()
{
    static const std::vector<SBalanceCase> cases = {
        {"one channel", {0x8000}, 25, {16383}},
        {"two equal channels stay equal", {0x8000, 0x8000}, 75, {49151, 49151}},
        {"a stereo balance to the right is kept", {0x4000, 0x8000}, 100, {32768, 65535}},
        {"a stereo balance to the left is kept", {0xC000, 0x3000}, 50, {32767, 8192}},
        {"quadraphonic with the rear louder",
         {0x2000, 0x4000, 0x8000, 0x8000},
         25,
         {4096, 8192, 16383, 16383}},
        {"5.1 with the subwoofer loudest",
         {0x6000, 0x6000, 0x6000, 0xC000, 0x3000, 0x3000},
         100,
         {32768, 32768, 32768, 65535, 16384, 16384}},
        {"7.1 of equal channels", std::vector<DWORD>(8, 0x8000), 40, std::vector<DWORD>(8, 26214)},
        {"7.1 with a silent channel that stays silent",
         {0, 0x8000, 0x4000, 0x4000, 0x4000, 0x4000, 0x4000, 0x4000},
         50,
         {0, 32767, 16384, 16384, 16384, 16384, 16384, 16384}},
        {"a silent 5.1 line: every channel takes the level", std::vector<DWORD>(6, 0), 20,
         std::vector<DWORD>(6, 13107)},
        {"down to silence", {0x4000, 0x8000}, 0, {0, 0}},
    };
    return cases;
}
