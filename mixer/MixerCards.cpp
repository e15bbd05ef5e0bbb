#include "mixer/MixerCards.h"

UINT CountMixerCards()
{
    return mixerGetNumDevs();
}

MMRESULT GetMixerCardName(UINT nCard, std::string& strName)
{
    MIXERCAPSA caps{};
    const MMRESULT mmr = mixerGetDevCapsA(nCard, &caps, sizeof caps);
    strName = mmr == MMSYSERR_NOERROR ? caps.szPname : "";
    return mmr;
}
