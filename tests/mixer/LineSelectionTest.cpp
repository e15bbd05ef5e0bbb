#include "mixer/LineSelection.h"

#include "mixer/MixerTestSupport.h"
#include "sim/SimMixer.h"

namespace {
TEST(LineSelection, StoredValuesResolveToTheStartSelection)
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
        const SLineSelection selection =
            MakeStartSelection(c.bInput, c.nCard, c.bFromRole, c.dwStoredType, c.nStoredMenu, c.nDevices);
        EXPECT_EQ(selection.m_nCardIndex, c.nExpectedCard) << c.pszWhat;
        EXPECT_EQ(selection.m_dwComponentType, c.dwExpectedType) << c.pszWhat;
        EXPECT_EQ(selection.m_nMenuIndex, c.nStoredMenu) << c.pszWhat;
        EXPECT_EQ(selection.m_bInput, c.bInput) << c.pszWhat;
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

TEST_F(LineSelectionTest, AStoredLineThatNoLongerResolvesFallsBackToTheMaster)
{
    LoadCards(kCards);
    CNotifyWindow window;
    const struct {
        const char* pszWhat;
        SLineSelection stored;
        UINT nExpectedMenu;
        DWORD dwExpectedLineID;
        BOOL bMultiSelect;
    } cases[] = {
        {"a recording source that exists", {0, TRUE, 0, 0x1003}, 0, 0x10001, TRUE},
        {"a playback source that exists", {0, FALSE, 0, 0x1003}, 0, 0x10000, FALSE},
        {"output falls back to the speakers", {0, FALSE, 3, 0x1005}, 9, 0x0, FALSE},
        {"input falls back to the wave-in destination", {1, TRUE, 0, 0x1003}, 9, 0x1, FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CMixerDevice mixer(window.Get());
        SLineSelection selection = c.stored;
        OpenSelection(mixer, selection);
        EXPECT_EQ(selection.m_nMenuIndex, c.nExpectedMenu);
        EXPECT_EQ(mixer.m_line.dwLineID, c.dwExpectedLineID);
        EXPECT_EQ(mixer.m_bMultiSelect, c.bMultiSelect);
        EXPECT_TRUE(mixer.m_bHasVolume);
        if (c.nExpectedMenu == kMasterMenuIndex) {
            EXPECT_EQ(selection.m_dwComponentType, MasterComponentType(c.stored.m_bInput));
        }
    }
}

TEST_F(LineSelectionTest, MenuCommandsSelectOnTheBarsCard)
{
    LoadCards(kCards);
    CNotifyWindow window;
    const CLineCatalogue catalogue;
    CMixerDevice mixer(window.Get());
    SLineSelection selection{1, TRUE, kMasterMenuIndex, 7};
    OpenSelection(mixer, selection);

    // The catalogue's only entry is device 0's microphone, which the second card lacks.
    EXPECT_FALSE(SelectCatalogueLine(mixer, catalogue, 0, selection));
    EXPECT_EQ(selection.m_nMenuIndex, 0u);
    EXPECT_EQ(selection.m_dwComponentType, 0x1003u);

    EXPECT_TRUE(SelectMaster(mixer, selection));
    EXPECT_EQ(selection.m_nMenuIndex, kMasterMenuIndex);
    EXPECT_EQ(mixer.m_line.dwLineID, 0x1u);
}
} // namespace
