// Counts the mixer calls the real bar makes for one change notification from another program,
// one slider notification (with the echo of its own write) and one click on the mute button,
// against the simulated sample card, and prints them next to the least each behaviour needs.
#include "app/StartupValues.h"
#include "bar/BarDlg.h"
#include "fw/WinApp.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimMixer.h"

#include <commctrl.h>

#include <cstdio>

namespace {

constexpr int kRepeats = 200;
constexpr DWORD kMasterVolumeControl = 1;

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

unsigned TotalCalls()
{
    unsigned nCalls = 0;
    for (int f = 0; f < static_cast<int>(sim::Function::Count); ++f)
        nCalls += sim::CallCount(static_cast<sim::Function>(f));
    return nCalls;
}

// The mixer calls of kRepeats runs of an action, each followed by the messages it causes.
template <class Action>
double CallsPerAction(Action action)
{
    unsigned nCalls = 0;
    for (int i = 0; i < kRepeats; ++i) {
        sim::ResetCallCounts();
        action(i);
        PumpMessages();
        nCalls += TotalCalls();
    }
    return double(nCalls) / kRepeats;
}

} // namespace

int main()
{
    CWinApp app;
    app.m_strAppName = "Sonobar";
    app.SetRegistryKey("Quillmark");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);
    sim::Reset();
    if (!sim::LoadCardsText(kSampleCard))
        return 1;
    TakeCommandLine("sonobar.exe");

    CRunningCopies copies;
    CBarDlg bar(copies);
    if (!bar.Create(IDD_BAR))
        return 1;
    PumpMessages();

    // Another program moves the master volume: a notification the bar follows. The value is
    // written before counting starts, as the other program's own call.
    const double fNotification = CallsPerAction([](int i) {
        sim::SetValues(0, kMasterVolumeControl, {DWORD(0x1000 + 0x40 * (i % 64)), DWORD(0x1000)});
        sim::ResetCallCounts();
    });
    const HWND hSlider = bar.m_sliderVolume.m_hWnd;
    const double fSlider = CallsPerAction([&](int i) {
        const int nPos = 10 + i % 80;
        ::SendMessageA(hSlider, TBM_SETPOS, TRUE, nPos);
        ::SendMessageA(bar.m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, nPos),
                       reinterpret_cast<LPARAM>(hSlider));
    });
    const double fMute = CallsPerAction([&](int) {
        ::SendMessageA(bar.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_MUTE_BUTTON, BN_CLICKED),
                       reinterpret_cast<LPARAM>(bar.m_btnMute.m_hWnd));
    });
    bar.DestroyWindow();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");

    // The least: a notification must read the volume and the mute state; a slider move and a
    // mute click must each write one value, and their echo needs no call at all.
    std::printf("%-34s %8s %6s %6s\n", "mixer calls per", "program", "least", "ratio");
    std::printf("%-34s %8.2f %6d %6.2f\n", "change notification", fNotification, 2, fNotification / 2);
    std::printf("%-34s %8.2f %6d %6.2f\n", "slider notification (with echo)", fSlider, 1, fSlider / 1);
    std::printf("%-34s %8.2f %6d %6.2f\n", "mute click (with echo)", fMute, 1, fMute / 1);
    return 0;
}
