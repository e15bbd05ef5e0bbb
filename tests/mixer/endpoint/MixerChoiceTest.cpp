// The choice between the endpoint mixer and WINMM: what Core Audio offers, and what
// SONOBAR_MIXER asks for.
#include "mixer/endpoint/FakeCoreAudio.h"
#include "mixer/endpoint/MixerChoice.h"

#include <gtest/gtest.h>

namespace {

enum class CoreAudio { Writable, NotImplemented, NoEnumerator, NoEndpoint, CaptureOnly };

TEST(MixerChoiceTest, EndpointMixerOnlyWhereTheDefaultEndpointTakesWrites)
{
    const struct {
        const char* pszRequested;
        CoreAudio coreAudio;
        MixerKind expected;
        const char* pszReason;
    } cases[] = {
        {nullptr, CoreAudio::Writable, MixerKind::Endpoint,
         "the default render endpoint takes volume writes"},
        {nullptr, CoreAudio::NotImplemented, MixerKind::Winmm,
         "SetMasterVolumeLevelScalar answered 0x80004001"},
        {nullptr, CoreAudio::NoEnumerator, MixerKind::Winmm,
         "no Core Audio: MMDeviceEnumerator answered 0x80040154"},
        {nullptr, CoreAudio::NoEndpoint, MixerKind::Winmm,
         "no render endpoint: GetDefaultAudioEndpoint answered 0x80070490"},
        {nullptr, CoreAudio::CaptureOnly, MixerKind::Winmm,
         "no render endpoint: GetDefaultAudioEndpoint answered 0x80070490"},
        {"winmm", CoreAudio::Writable, MixerKind::Winmm, "SONOBAR_MIXER=winmm"},
        {"WinMM", CoreAudio::NoEnumerator, MixerKind::Winmm, "SONOBAR_MIXER=winmm"},
        {"endpoint", CoreAudio::Writable, MixerKind::Endpoint,
         "the default render endpoint takes volume writes"},
        {"endpoint", CoreAudio::NotImplemented, MixerKind::Winmm,
         "SONOBAR_MIXER=endpoint, but SetMasterVolumeLevelScalar answered 0x80004001"},
        {"endpoint", CoreAudio::NoEnumerator, MixerKind::Winmm,
         "SONOBAR_MIXER=endpoint, but no Core Audio: MMDeviceEnumerator answered 0x80040154"},
        {"", CoreAudio::Writable, MixerKind::Endpoint, "the default render endpoint takes volume writes"},
        {"wasapi", CoreAudio::NotImplemented, MixerKind::Winmm,
         "SONOBAR_MIXER=wasapi is neither winmm nor endpoint; SetMasterVolumeLevelScalar answered "
         "0x80004001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszRequested ? c.pszRequested : "(unset)") + ": " + c.pszReason);
        CFakeCoreAudio audio;
        CFakeEndpointSetup setup;
        setup.strId = L"r";
        setup.strName = L"Speakers";
        setup.fLevel = 0.42f;
        if (c.coreAudio == CoreAudio::NotImplemented)
            setup.hrWrite = E_NOTIMPL;
        if (c.coreAudio == CoreAudio::CaptureOnly)
            setup.flow = eCapture;
        if (c.coreAudio != CoreAudio::NoEndpoint)
            audio.Add(setup);
        audio.SetDefault(setup.flow, L"r");

        bool bAsked = false;
        const EnumeratorFactory factory = [&](CComPtr<IMMDeviceEnumerator>& pEnumerator) {
            bAsked = true;
            if (c.coreAudio == CoreAudio::NoEnumerator)
                return REGDB_E_CLASSNOTREG;
            return audio.Factory()(pEnumerator);
        };
        CComPtr<IMMDeviceEnumerator> pEnumerator;
        const CMixerChoice choice = ChooseMixer(c.pszRequested, factory, pEnumerator);
        EXPECT_EQ(choice.kind, c.expected);
        EXPECT_EQ(choice.strReason, c.pszReason);
        // The endpoint mixer gets the enumerator that passed; WINMM needs none.
        EXPECT_EQ(static_cast<bool>(pEnumerator), c.expected == MixerKind::Endpoint);
        // Asking for WINMM leaves Core Audio alone; the test write leaves the volume as it was.
        EXPECT_EQ(bAsked, std::string(c.pszReason) != "SONOBAR_MIXER=winmm");
        if (c.coreAudio != CoreAudio::NoEndpoint && c.coreAudio != CoreAudio::NoEnumerator) {
            EXPECT_EQ(audio.Volume(L"r").Level(), 0.42f);
        }
    }
}

} // namespace
