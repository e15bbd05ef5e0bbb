// Where one start of the bar goes: the process's own start, the application's set-up, each part
// of the bar's initialisation and its first paint, each with its time and the mixer calls made
// in it. Prints one line per part: its name, milliseconds and mixer calls ("-" where they
// cannot be counted). Built twice: on the program's own mixer, and with STEPS_ON_SAMPLE_CARD on
// the simulated sample card, whose calls are counted.
//
//   startup_steps.exe        (times as the program has them)
//   startup_steps_sim.exe    (the same parts on the sample card, with mixer calls)
#include "app/BarWindows.h"
#include "app/CopyLock.h"
#include "app/Settings.h"
#include "app/StartupValues.h"
#include "bar/BarDlg.h"
#include "fw/ResourceString.h"
#include "fw/WinApp.h"
#include "res/resource.h"

#ifdef STEPS_ON_SAMPLE_CARD
#include "sim/SampleCards.h"
#include "sim/SimMixer.h"
#endif

#include <commctrl.h>

#include <cstdio>

namespace {

int MixerCalls()
{
#ifdef STEPS_ON_SAMPLE_CARD
    int nCalls = 0;
    for (int f = 0; f < static_cast<int>(sim::Function::Count); ++f)
        nCalls += static_cast<int>(sim::CallCount(static_cast<sim::Function>(f)));
    return nCalls;
#else
    return -1;
#endif
}

class CStepClock {
public:
    CStepClock()
    {
        ::QueryPerformanceFrequency(&m_frequency);
        Restart();
    }

    void Restart()
    {
        ::QueryPerformanceCounter(&m_start);
        m_nCallsAtStart = MixerCalls();
    }

    // Prints the part that ends now and starts the next.
    void Lap(const char* pszPart)
    {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        Print(pszPart, 1000.0 * double(now.QuadPart - m_start.QuadPart) / double(m_frequency.QuadPart));
        Restart();
    }

    void Print(const char* pszPart, double fMilliseconds) const
    {
        const int nCalls = MixerCalls();
        if (nCalls < 0)
            std::printf("%s\t%.3f\t-\n", pszPart, fMilliseconds);
        else
            std::printf("%s\t%.3f\t%d\n", pszPart, fMilliseconds, nCalls - m_nCallsAtStart);
    }

private:
    LARGE_INTEGER m_frequency{};
    LARGE_INTEGER m_start{};
    int m_nCallsAtStart = 0;
};

// The time from the process's creation to now: the loader, the libraries and the runtime.
double MillisecondsSinceProcessStart()
{
    FILETIME ftCreation{}, ftExit{}, ftKernel{}, ftUser{}, ftNow{};
    ::GetProcessTimes(::GetCurrentProcess(), &ftCreation, &ftExit, &ftKernel, &ftUser);
    ::GetSystemTimeAsFileTime(&ftNow);
    const auto ticks = [](const FILETIME& ft) {
        return (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    };
    return double(ticks(ftNow) - ticks(ftCreation)) / 10000.0;
}

// The bar, telling the clock as each part of its initialisation ends.
class CTimedBar : public CBarDlg {
public:
    CTimedBar(CRunningCopies& copies, CStepClock& clock) : CBarDlg(copies), m_clock(clock) {}

protected:
    void StartupStepDone(EStartupStep step) override
    {
        static const char* const kNames[] = {"dialog and controls",
                                             "settings",
                                             "mixer connection",
                                             "line selection",
                                             "menu and its line probes",
                                             "placement and show (visible)",
                                             "tooltips",
                                             "pictures",
                                             "control states"};
        m_clock.Lap(kNames[static_cast<int>(step)]);
    }

private:
    CStepClock& m_clock;
};

} // namespace

int main()
{
    std::printf("process start\t%.3f\t-\n", MillisecondsSinceProcessStart());
    CStepClock clock;

    // As the application object does it before it creates the bar.
    CWinApp app;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    app.m_strAppName = LoadResourceString(IDS_APP_TITLE);
    app.SetRegistryKey(LoadResourceString(IDS_COMPANY).c_str());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
#ifdef STEPS_ON_SAMPLE_CARD
    sim::Reset();
    if (!sim::LoadCardsText(kSampleCard))
        return 1;
#endif
    BeginCopyStart();
    g_bFirstInstance = FindOtherBar(nullptr) == nullptr ? 1 : 0;
    if (g_bFirstInstance)
        WriteSetting(IDS_INSTANCE_COUNT, 0);
    TakeCommandLine("sonobar.exe");
    clock.Lap("application set-up");

    CRunningCopies copies;
    CTimedBar bar(copies, clock);
    if (!bar.Create(IDD_BAR))
        return 1;
    EndCopyStart();
    clock.Restart();

    // The first paint: what the bar and its controls draw before the queue runs dry.
    ::UpdateWindow(bar.m_hWnd);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
    clock.Lap("first paint");

    bar.DestroyWindow();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
    return 0;
}
