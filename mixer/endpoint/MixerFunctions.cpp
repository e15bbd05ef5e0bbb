// The product's mixer functions (mixer/frontend/MixerFunctions.cpp) are all answered by the
// mixer chosen for the process.
#include "mixer/endpoint/MixerChoice.h"

CMixerBackend& MixerFor(MixerFunction)
{
    return ProcessMixer();
}
