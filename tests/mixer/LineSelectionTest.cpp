#include "mixer/LineSelection.h"

#include "mixer/MixerTestSupport.h"
#include "sim/SimMixer.h"

namespace {
TEST(LineSelection, StoredValuesResolveToTheStartCardAndType)
{
    const struct {
        const char* pszWhat;
        BOOL bInput;
        UINT nCard;
        BOOL bFromRole;
        DWORD dwStoredType;
        UINT nStoredMenu;
        UINT nDevices;
        UINT nExpectedCard;
        DWORD dwExpectedType;
    } cases[] = {
        {"menu 9 means the output master whatever the type", FALSE, 0, FALSE, 0x1003, 9, 1, 0, 4},
        {"menu 9 means the input master", TRUE, 0, FALSE, 0x1003, 9, 1, 0, 7},
        {"a numbered line keeps its type", TRUE, 1, FALSE, 0x1003, 2, 2, 1, 0x1003},
        {"a stored card beyond the devices", FALSE, 2, FALSE, 4, 9, 2, 0, 4},
        {"a stored card with no device at all", FALSE, 1, FALSE, 4, 9, 0, 0, 4},
        {"a role's card is taken as it is", FALSE, 2, TRUE, 4, 9, 1, 2, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartCardIndex(c.nCard, c.bFromRole, c.nDevices), c.nExpectedCard) << c.pszWhat;
        EXPECT_EQ(StartComponentType(c.bInput, c.dwStoredType, c.nStoredMenu), c.dwExpectedType) << c.pszWhat;
    }
}

const char kCards[] = R"(
card First
dest 0x0 4 2 Speakers
control 1 volume 0xFFFF 32 0
source 0x10000 0x1003 1 Mic
control 2 volume 0xFFFF 32 0
dest 0x1 7 2 Recording
control 3 volume 0xFFFF 32 0
control 4 mixer 1 1 1 1
source 0x10001 0x1003 1 Mic
control 6 volume 0xFFFF 32 0
card Second
dest 0x0 4 2 Speakers
dest 0x1 7 2 Recording
control 5 volume 0xFFFF 32 0
source 0x10001 0x1002 2 Line
)";

using LineSelectionTest = SimMixerTest;

TEST_F(LineSelectionTest, MenuLinesAreFoundOnTheOpenCardAndSide)
{
    LoadCards(kCards);
    CNotifyWindow window;
    const struct {
        const char* pszWhat;
        UINT nCard;
        BOOL bInput;
        UINT nMenuIndex;
        DWORD dwType;
        BOOL bFound;
        DWORD dwExpectedLineID;
        BOOL bMultiSelect;
    } cases[] = {
        {"a recording source that exists", 0, TRUE, 0, 0x1003, TRUE, 0x10001, TRUE},
        {"a playback source that exists", 0, FALSE, 0, 0x1003, TRUE, 0x10000, FALSE},
        {"a source the card lacks", 0, FALSE, 3, 0x1005, FALSE, 0, FALSE},
        {"a source of device 0 that the second card lacks", 1, TRUE, 0, 0x1003, FALSE, 0, FALSE},
        {"the output master", 0, FALSE, 9, 4, TRUE, 0x0, FALSE},
        {"the input master is the wave-in destination", 1, TRUE, 9, 7, TRUE, 0x1, FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CMixerDevice mixer(window.Get());
        ASSERT_TRUE(mixer.Open(c.nCard));
        EXPECT_EQ(SelectMenuLine(mixer, c.nMenuIndex, c.dwType, c.bInput), c.bFound);
        EXPECT_EQ(mixer.m_dwComponentType, c.dwType);
        if (c.bFound) {
            EXPECT_EQ(mixer.m_line.dwLineID, c.dwExpectedLineID);
            EXPECT_EQ(mixer.m_bMultiSelect, c.bMultiSelect);
            EXPECT_TRUE(mixer.m_bHasVolume);
        }
    }
}
} // namespace
