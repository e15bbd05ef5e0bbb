// What programs' sessions cost the bar, on the product's own mixer over fake Core Audio with a
// given number of programs playing on the speakers: the time the bar takes to make its menu
// ready when it opens (the median of many openings), and its CPU time and the messages its
// thread wakes for while it sits idle, with all four of its global keys set. Run once per number
// of programs, as the process's Core Audio is chosen once:
//
//   sessions_bench.exe <programs> [idle seconds]
//
// Prints "programs N: menu open X ms with L listed (median of 101), idle S s: CPU Y ms, Z wake-ups",
// L the programs' entries that the menu and its submenu show, as many as the screen has room for.
#include "app/KeySettings.h"
#include "app/StartupValues.h"
#include "bar/BarDlg.h"
#include "fw/WinApp.h"
#include "mixer/endpoint/FakeCoreAudio.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kOpenings = 101;

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

double CpuMilliseconds()
{
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& ft) {
        return static_cast<double>((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}

void Dispatch()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

double MedianMenuOpen(CBarDlg& bar)
{
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < kOpenings; ++i) {
        LARGE_INTEGER start{}, end{};
        ::QueryPerformanceCounter(&start);
        ::SendMessageA(bar.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(bar.m_hMenuPopup), 0);
        ::QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end, frequency));
    }
    std::nth_element(times.begin(), times.begin() + kOpenings / 2, times.end());
    return times[kOpenings / 2];
}

UINT ProgramEntries(HMENU hMenu)
{
    UINT cEntries = 0;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        const UINT nID = ::GetMenuItemID(hMenu, i);
        cEntries += nID >= ID_PROGRAM_FIRST && nID <= ID_PROGRAM_LAST ? 1 : 0;
        if (const HMENU hSubmenu = ::GetSubMenu(hMenu, i))
            cEntries += ProgramEntries(hSubmenu);
    }
    return cEntries;
}

// Messages the thread wakes for over a while, dispatched as the program's loop would.
unsigned IdleWakeUps(DWORD dwSeconds)
{
    unsigned nWakeUps = 0;
    const DWORD dwEnd = ::GetTickCount() + dwSeconds * 1000;
    for (DWORD dwNow = ::GetTickCount(); dwNow < dwEnd; dwNow = ::GetTickCount()) {
        if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, dwEnd - dwNow, QS_ALLINPUT) != WAIT_OBJECT_0)
            break;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ++nWakeUps;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return nWakeUps;
}

} // namespace

int main(int argc, char** argv)
{
    const int nPrograms = argc > 1 ? std::atoi(argv[1]) : 0;
    const DWORD dwIdleSeconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 60;
    CFakeCoreAudio& laptop = ProcessLaptop();
    // The laptop's own two programs end; the bench's play.
    for (const wchar_t* pszInstance : {L"player/1", L"web/1"})
        laptop.Sessions(L"spk").Session(pszInstance).Expire();
    for (int n = 0; n < nPrograms; ++n) {
        const std::wstring strId = L"program" + std::to_wstring(n);
        laptop.Sessions(L"spk").Add({strId, strId + L"/1", L"Program " + std::to_wstring(n)});
    }

    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
    CWinApp app;
    app.m_strAppName = "Sonobar";
    app.SetRegistryKey("Quillmark");
    // Set keys wait for their presses and wake the idle bar for nothing else.
    WriteBarKeys("v0", {0x0626, 0x0628, 0x064D, 0x0653});
    TakeCommandLine("sonobar.exe");
    g_bFirstInstance = 1;
    CRunningCopies copies;
    CBarDlg bar{copies};
    if (!bar.Create(IDD_BAR))
        return 1;
    Dispatch();
    const double dMenu = MedianMenuOpen(bar);
    const double dCpuBefore = CpuMilliseconds();
    const unsigned nWakeUps = IdleWakeUps(dwIdleSeconds);
    const double dCpu = CpuMilliseconds() - dCpuBefore;
    std::printf("programs %d: menu open %.3f ms with %u listed (median of %d), idle %lu s: CPU %.0f ms, %u "
                "wake-ups\n",
                nPrograms, dMenu, ProgramEntries(bar.m_hMenuPopup), kOpenings, dwIdleSeconds, dCpu, nWakeUps);
    bar.DestroyWindow();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
    return 0;
}
