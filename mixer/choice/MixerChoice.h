// Which mixer answers the program's mixer functions: chosen once per process, at the first
// mixer call, by what the platform has and without writing anything:
// - Core Audio's enumerator cannot be created because its class is not registered: Windows XP,
//   where Windows' WINMM (WinmmMixer.h) drives the card itself;
// - an endpoint volume that answers E_NOTIMPL to GetVolumeStepInfo or GetChannelCount, reads that
//   Windows always answers: Wine 8's stub, which cannot write volumes either, so WINMM;
// - otherwise the endpoint mixer (mixer/endpoint/EndpointMixer.h), also with no endpoint at all:
//   the bars then show no card until Core Audio reports one;
// - an enumerator that cannot be created for another reason, or endpoints that cannot be listed
//   or whose volume cannot be had (the audio service not started yet), settle nothing: the process
//   waits with no card (WaitingMixer.h) and tries again every five seconds; once the cards can be
//   read, every window that asked for a card meanwhile is told that the cards changed, on which
//   the bars restart.
// The environment variable SONOBAR_MIXER=winmm or =endpoint asks for one, for troubleshooting; an
// endpoint mixer that cannot work falls back to WINMM all the same. The choice and its reason go
// to the debugger output as one line.
#pragma once

#include "fw/ComApartment.h"
#include "fw/ComPtr.h"
#include "mixer/choice/RetryTimer.h"
#include "mixer/frontend/MixerBackend.h"

#include <windows.h>
#include <mmdeviceapi.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

enum class MixerKind { Winmm, Endpoint, WaitingForCoreAudio };

struct SMixerChoice {
    MixerKind kind = MixerKind::Winmm;
    // One line saying why.
    std::string strReason;
};

// Where Core Audio comes from: Windows' MMDeviceEnumerator, or a test's fake. Called on a thread
// whose COM is initialised (CComApartment).
using EnumeratorFactory = std::function<HRESULT(CComPtr<IMMDeviceEnumerator>& pEnumerator)>;

// Windows' own enumerator.
HRESULT CreateSystemEnumerator(CComPtr<IMMDeviceEnumerator>& pEnumerator);

// The choice for a value of SONOBAR_MIXER (null when unset). For the endpoint mixer,
// pEnumerator receives the enumerator that it is to use.
SMixerChoice ChooseMixer(const char* pszRequested, const EnumeratorFactory& factory,
                         CComPtr<IMMDeviceEnumerator>& pEnumerator);

// The mixer of a process: the choice, the backend that answers, and the COM apartment the
// endpoint mixer lives in. A choice waiting for Core Audio answers as a machine without mixer
// devices until TryAgain settles it, which a timer of the constructing thread calls every five
// seconds.
class CChosenMixer {
public:
    CChosenMixer(const char* pszRequested, EnumeratorFactory factory);
    ~CChosenMixer();
    CChosenMixer(const CChosenMixer&) = delete;
    CChosenMixer& operator=(const CChosenMixer&) = delete;

    CMixerBackend& Backend() { return *m_pBackend; }
    const SMixerChoice& Choice() const { return m_choice; }
    // Chooses again while waiting for Core Audio; once the choice is settled, tells the windows
    // that asked for a card meanwhile. True when the choice is settled (now or before).
    bool TryAgain();

private:
    void Settle(SMixerChoice choice, CComPtr<IMMDeviceEnumerator> pEnumerator);

    const std::string m_strRequested;
    const EnumeratorFactory m_factory;
    // Declared first, so that it ends after the endpoint mixer and its COM objects.
    std::optional<CComApartment> m_apartment;
    SMixerChoice m_choice;
    std::unique_ptr<CMixerBackend> m_pBackend;
    std::optional<CRetryTimer> m_retryTimer;
};

// The process's mixer, chosen at the first call, on the user-interface thread.
CMixerBackend& ProcessMixer();
// The choice that ProcessMixer made (it makes it when not made yet).
const SMixerChoice& ProcessMixerChoice();
// Replaces Windows' enumerator for this process; only before the first mixer call (tests).
void SetProcessEnumeratorFactory(EnumeratorFactory factory);
