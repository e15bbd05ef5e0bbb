#include "mixer/VolumeScale.h"

#include <gtest/gtest.h>

namespace {
struct ScaleCase {
    const char* pszWhat;
    DWORD dwInput;
    DWORD cSteps;
    DWORD dwMaximum;
    DWORD dwExpected;
};

TEST(VolumeScale, ValueToLevelRoundsHalfUpAndStaysWithinTheSteps)
{
    const ScaleCase cases[] = {
        {"half of 0xFFFF in 32 steps", 0x8000, 32, 0xFFFF, 16},
        {"exactly 7.5 steps goes up", 15, 32, 64, 8},
        {"7.0 steps stays", 14, 32, 64, 7},
        {"7.4 steps goes down", 0x3B33, 32, 0x10000 - 1, 7},
        {"full volume", 0xFFFF, 32, 0xFFFF, 32},
        {"a value above the maximum is full volume", 0x20000, 32, 0xFFFF, 32},
        {"0 steps", 100, 0, 0xFFFF, 0},
        {"maximum 0", 100, 32, 0, 0},
        {"maximum above 0xFFFF", 0x10000, 32, 0x20000, 16},
        {"value x steps above 32 bits", 0x80000000, 32, 0xFFFFFFFF, 16},
        {"more steps than a packed half holds", 5, 0x20000, 5, 0xFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValueToLevel(c.dwInput, c.cSteps, c.dwMaximum), c.dwExpected) << c.pszWhat;
}

TEST(VolumeScale, LevelToValueTruncatesAndTreatsExcessAsFullVolume)
{
    const ScaleCase cases[] = {
        {"16 of 32 steps", 16, 32, 0xFFFF, 0x7FFF},
        {"19 of 32 steps", 19, 32, 0xFFFF, 38911},
        {"a level above the steps", 40, 32, 0xFFFF, 0xFFFF},
        {"0 steps", 5, 0, 0xFFFF, 0},
        {"maximum 0", 16, 32, 0, 0},
        {"maximum above 0xFFFF does not wrap", 16, 32, 0x20000, 0x10000},
        {"largest maximum", 16, 32, 0xFFFFFFFF, 0x7FFFFFFF},
        {"more steps than a packed half holds: its full level is full", 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
         0xFFFFFFFF},
        {"and half of it half", 0x8000, 0x20000, 0x1FFFE, 0x10000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LevelToValue(c.dwInput, c.cSteps, c.dwMaximum), c.dwExpected) << c.pszWhat;
}

struct SliderCase {
    const char* pszWhat;
    DWORD dwValue;
    UINT nChannels;
    DWORD cSteps;
    UINT nRangeMax;
    DWORD dwExpected;
};

TEST(VolumeScale, StepsToPositionShowsTheLouderHalfOfALineOfSeveralChannels)
{
    const SliderCase cases[] = {
        {"16 of 32 steps", MAKELONG(16, 16), 2, 32, 100, 50},
        {"20/10 truncates 62.5", MAKELONG(20, 10), 2, 32, 100, 62},
        {"the right channel louder", MAKELONG(10, 20), 2, 32, 100, 62},
        {"one channel follows the low half", MAKELONG(10, 20), 1, 32, 100, 31},
        {"a surround line shows its louder half", MAKELONG(10, 20), 6, 32, 100, 62},
        {"0 steps", MAKELONG(10, 10), 2, 0, 100, 0},
        {"more steps than a packed half holds, at full volume", 0xFFFFFFFF, 2, 0xFFFFFFFF, 100, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepsToPosition(c.dwValue, c.nChannels, c.cSteps, c.nRangeMax), c.dwExpected) << c.pszWhat;
}

TEST(VolumeScale, PositionToStepsGivesBothHalvesTheLevelOnSeveralChannels)
{
    const SliderCase cases[] = {
        {"position 50", 50, 2, 32, 100, MAKELONG(16, 16)},
        {"position 62 loses a step", 62, 2, 32, 100, MAKELONG(19, 19)},
        {"one channel", 62, 1, 32, 100, 19},
        {"a surround line", 62, 8, 32, 100, MAKELONG(19, 19)},
        {"full", 100, 2, 32, 100, MAKELONG(32, 32)},
        {"range 0", 50, 2, 32, 0, 0},
        {"more steps than a packed half holds: one channel", 100, 1, 0xFFFFFFFF, 100, 0xFFFF},
        {"and two", 50, 2, 0x20000, 100, MAKELONG(0x7FFF, 0x7FFF)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PositionToSteps(c.dwValue, c.nChannels, c.cSteps, c.nRangeMax), c.dwExpected) << c.pszWhat;
}
} // namespace
