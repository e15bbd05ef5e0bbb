// Where one start of the bar goes: the process's own start, the application's set-up, each part
// of the bar's initialisation and its first paint, each with its time and the mixer calls made
// in it. The program is the bar itself, started by its own entry point and application object;
// only the bar it creates tells the clock as each part ends. Prints one line per part: its name,
// milliseconds and mixer calls ("-" where they cannot be counted). Built twice: on the program's
// own mixer, and with STEPS_ON_SAMPLE_CARD on the simulated sample card, whose calls are counted.
//
//   startup_steps.exe        (times as the program has them)
//   startup_steps_sim.exe    (the same parts on the sample card, with mixer calls)
#include "app/BarApp.h"
#include "bar/BarDlg.h"

#ifdef STEPS_ON_SAMPLE_CARD
#include "sim/SampleCards.h"
#include "sim/SimMixer.h"
#endif

#include <cstdio>

namespace {

constexpr char kSettingsKey[] = "Software\\Quillmark";

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
    CTimedBar(CRunningCopies& copies, CStartTurn startTurn, CStepClock& clock)
        : CBarDlg(copies, std::move(startTurn)), m_clock(clock)
    {
    }

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

// The program's application object with the timed bar. Every start is a first start: no
// settings before, none left behind. Once the bar has painted, it is closed as a user closes it.
class CTimedApp : public CBarApp {
public:
    BOOL InitInstance() override
    {
        std::printf("process start\t%.3f\t-\n", MillisecondsSinceProcessStart());
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
#ifdef STEPS_ON_SAMPLE_CARD
        sim::Reset();
        if (!sim::LoadCardsText(kSampleCard))
            return FALSE;
#endif
        m_clock.Restart();
        if (!CBarApp::InitInstance())
            return FALSE;
        // The first paint: what the bar and its controls draw before the queue first runs dry.
        m_clock.Restart();
        ::UpdateWindow(m_pBarDlg->m_hWnd);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        m_clock.Lap("first paint");
        ::PostMessageA(m_pBarDlg->m_hWnd, WM_CLOSE, 0, 0);
        return TRUE;
    }

    int ExitInstance() override
    {
        const int nExitCode = CBarApp::ExitInstance();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        return nExitCode;
    }

protected:
    std::unique_ptr<CBarDlg> MakeBar(CRunningCopies& copies, CStartTurn startTurn) override
    {
        m_clock.Lap("application set-up");
        return std::make_unique<CTimedBar>(copies, std::move(startTurn), m_clock);
    }

private:
    CStepClock m_clock;
};

CTimedApp theApp;

} // namespace
