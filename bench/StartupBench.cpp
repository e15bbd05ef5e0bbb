// Starts programs one after the other, round after round in alternating order, and prints for
// each the median time from process start to its first visible top-level window and the median
// peak working set once it is up, with the ratios of the first program to each of the others.
//
//   startup_bench.exe <rounds> <name>=<program.exe> [<name>=<program.exe>...]
#include "support/ProcessWindows.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string strName;
    std::string strPath;
    std::vector<double> vecMilliseconds;
    std::vector<double> vecPeakKiB;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One start: the time to the first visible window and the peak working set once it is idle.
bool MeasureOnce(Program& program)
{
    // Every start of the bar is a first start at the stored place, never hidden in the tray.
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");

    std::string strCommandLine = "\"" + program.strPath + "\"";
    std::vector<char> commandLine(strCommandLine.begin(), strCommandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER frequency{}, start{}, shown{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi))
        return false;

    HWND hShown = nullptr;
    for (int i = 0; i < 20000 && !(hShown = VisibleWindowOf(pi.dwProcessId)); ++i)
        ::Sleep(1);
    ::QueryPerformanceCounter(&shown);

    ::WaitForInputIdle(pi.hProcess, 5000);
    ::Sleep(200);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters);

    if (hShown)
        ::PostMessageA(hShown, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    // Wine finishes a process's end (its audio connection, the server's bookkeeping) after the
    // handle is signalled; the next start must not pay for it.
    ::Sleep(500);
    if (!hShown)
        return false;

    program.vecMilliseconds.push_back(1000.0 * double(shown.QuadPart - start.QuadPart) /
                                      double(frequency.QuadPart));
    program.vecPeakKiB.push_back(double(counters.PeakWorkingSetSize) / 1024.0);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench <rounds> <name>=<program.exe>...\n");
        return 2;
    }
    const int nRounds = std::atoi(argv[1]);
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        const std::string strArg = argv[i];
        const size_t equals = strArg.find('=');
        programs.push_back({strArg.substr(0, equals), strArg.substr(equals + 1), {}, {}});
    }

    // Alternating order: round r starts with program r, so no program always runs first on a
    // cold cache or always last on a warm one.
    for (int r = 0; r < nRounds; ++r) {
        for (size_t k = 0; k < programs.size(); ++k) {
            Program& program = programs[(r + k) % programs.size()];
            if (!MeasureOnce(program))
                std::fprintf(stderr, "%s: no visible window\n", program.strName.c_str());
        }
    }

    std::printf("%-14s %6s %14s %14s\n", "program", "runs", "visible ms", "peak WS KiB");
    for (const Program& program : programs)
        std::printf("%-14s %6zu %14.1f %14.0f\n", program.strName.c_str(), program.vecMilliseconds.size(),
                    Median(program.vecMilliseconds), Median(program.vecPeakKiB));
    const Program& first = programs.front();
    for (size_t k = 1; k < programs.size(); ++k) {
        const Program& floor = programs[k];
        std::printf("%s / %s: start to visible %.2f, peak working set %.2f\n", first.strName.c_str(),
                    floor.strName.c_str(), Median(first.vecMilliseconds) / Median(floor.vecMilliseconds),
                    Median(first.vecPeakKiB) / Median(floor.vecPeakKiB));
    }
    return 0;
}
