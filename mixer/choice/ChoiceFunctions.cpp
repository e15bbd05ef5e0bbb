// The product's mixer functions (mixer/frontend/MixerFunctions.cpp) are all answered by the
// mixer chosen for the process.
#include "mixer/choice/MixerChoice.h"
#include "mixer/frontend/MixerCallback.h"

#include <dbt.h>

CMixerBackend& MixerFor()
{
    return ProcessMixer();
}

BOOL IsMixerCardChange(WPARAM wParam, LPARAM lParam)
{
    // The endpoint mixer, and the process waiting for Core Audio, tell of every change of their
    // cards themselves.
    return wParam == DBT_DEVNODES_CHANGED &&
           (lParam == kMixerCardsChanged || ProcessMixerChoice().kind == MixerKind::Winmm);
}
