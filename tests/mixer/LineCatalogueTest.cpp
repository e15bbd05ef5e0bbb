#include "mixer/LineCatalogue.h"
#include "mixer/MixerDevice.h"

#include "mixer/MixerTestSupport.h"
#include "sim/SimMixer.h"

namespace {
struct Entry {
    std::string strName;
    DWORD dwType;
};

std::vector<Entry> ReadEntries(const CLineCatalogue& catalogue)
{
    std::vector<Entry> entries;
    for (int j = 0;; ++j) {
        std::string strName;
        if (!catalogue.GetLineName(j, strName))
            return entries;
        entries.push_back({strName, catalogue.GetComponentType(j)});
    }
}

bool operator==(const Entry& a, const Entry& b)
{
    return a.strName == b.strName && a.dwType == b.dwType;
}

void PrintTo(const Entry& entry, std::ostream* pOut)
{
    *pOut << entry.strName << "/0x" << std::hex << entry.dwType;
}

using LineCatalogueTest = SimMixerTest;

TEST_F(LineCatalogueTest, EntriesStandInTheTextOrderOfTheirLineIds)
{
    LoadCards(R"(
card Ordered
dest 0x80000000 4 2 Speakers
source 65536 0x1003 1 Mic
source 0 0x1008 2 Wave
source 196608 0x1005 2 CD
source 131072 0x1002 2 Line
source 6553 0x1004 2 Synth
)");
    const CLineCatalogue catalogue;
    const std::vector<Entry> expected = {
        {"Wave", 0x1008}, {"Line", 0x1002}, {"CD", 0x1005}, {"Synth", 0x1004}, {"Mic", 0x1003}};
    EXPECT_EQ(ReadEntries(catalogue), expected);
    EXPECT_EQ(catalogue.GetSpeakerSourceCount(), 5u);
    // The catalogue addresses device 0 without ever opening it.
    EXPECT_EQ(sim::CallCount(sim::Function::Open), 0u);
}

TEST_F(LineCatalogueTest, IdsAboveTwoToThe31stComeBackUnchanged)
{
    LoadCards("card High\ndest 0x0 4 2 Speakers\nsource 0xFFFF0000 0x1005 2 CD\n");
    const CLineCatalogue catalogue;
    EXPECT_EQ(ReadEntries(catalogue), (std::vector<Entry>{{"CD", 0x1005}}));
}

TEST_F(LineCatalogueTest, SpeakerSourcesAndEntriesAreCountedApart)
{
    LoadCards(R"(
card Twins
dest 0x0 4 2 Speakers
source 0x10000 0x1003 1 Front Mic
source 0x20000 0x1003 1 Rear Mic
source 0x30000 0x1002 2 Line
)");
    const CLineCatalogue catalogue;
    EXPECT_EQ(catalogue.GetSpeakerSourceCount(), 3u);
    EXPECT_EQ(ReadEntries(catalogue).size(), 2u);
    std::string strName = "unchanged";
    EXPECT_FALSE(catalogue.GetLineName(2, strName));
    EXPECT_EQ(strName, "unchanged");
    EXPECT_EQ(catalogue.GetComponentType(2), 0u);
    EXPECT_EQ(catalogue.GetComponentType(-1), 0u);
}

TEST_F(LineCatalogueTest, NamesComeFromDeviceZeroWhicheverCardIsDriven)
{
    LoadCards(R"(
card First
dest 0x0 4 2 Speakers
source 0x10000 0x1003 1 Mic
source 0x20000 0x1002 2 Line
card Second
dest 0x0 4 2 Speakers
source 0x10000 0x1002 2 Line
)");
    const CLineCatalogue catalogue;
    CNotifyWindow window;
    CMixerDevice probe(window.Get());
    ASSERT_TRUE(probe.Open(1));
    ASSERT_EQ(ReadEntries(catalogue), (std::vector<Entry>{{"Line", 0x1002}, {"Mic", 0x1003}}));
    EXPECT_TRUE(probe.SelectLine(catalogue.GetComponentType(0), FALSE));
    EXPECT_FALSE(probe.SelectLine(catalogue.GetComponentType(1), FALSE));
}

TEST_F(LineCatalogueTest, NoMixerDeviceMeansAnEmptyCatalogue)
{
    const CLineCatalogue catalogue;
    EXPECT_EQ(catalogue.GetSpeakerSourceCount(), 0u);
    EXPECT_TRUE(ReadEntries(catalogue).empty());
}

TEST(ParseLineId, ConvertsLikeASignedDecimalModuloTwoToThe32nd)
{
    const struct {
        const char* pszText;
        DWORD dwExpected;
    } cases[] = {
        {"65536", 65536},
        {"4294901760", 0xFFFF0000},
        {"4294967295", 0xFFFFFFFF},
        {"4294967296", 0},
        {"  \t42", 42},
        {"+7", 7},
        {"-1", 0xFFFFFFFF},
        {"12abc", 12},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLineId(c.pszText), c.dwExpected) << '"' << c.pszText << '"';
}
} // namespace
