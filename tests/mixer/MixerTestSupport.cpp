#include "mixer/MixerTestSupport.h"

#include "sim/SimMixer.h"

void SimMixerTest::SetUp()
{
    sim::Reset();
}

void SimMixerTest::TearDown()
{
    sim::Reset();
}

void SimMixerTest::LoadCards(const std::string& strText)
{
    std::string strError;
    ASSERT_TRUE(sim::LoadCardsText(strText, &strError)) << strError;
}
