// Drives running copies of the test build (sonobar-sim.exe) from a test: a value change "by
// another program" goes as WM_COPYDATA to the message-only window "SonobarSimMixer" that each
// copy creates, titled with the topology file it loaded (the SONOBAR_SIM_CARDS text).
//
//   SimDriverSetValues("C:\\cards.txt", 0, 1, {0x4000, 0x4000});
//
// Header-only, so a driver program needs nothing but windows.h and the standard library.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

constexpr char kSimDriverClass[] = "SonobarSimMixer";
constexpr ULONG_PTR kSimFromDriver = 1;
constexpr ULONG_PTR kSimFromCopy = 2;
// A question to one copy about its own process; lpData is one DWORD, a sim::Resource.
constexpr ULONG_PTR kSimQueryResource = 3;
// Cards that appear; lpData is a topology text.
constexpr ULONG_PTR kSimAddCards = 4;

// Sends cds to every copy running on topology strSession except hWndExcept; returns how many
// answered TRUE.
inline int SimDriverSendToCopies(const std::string& strSession, const COPYDATASTRUCT& cds,
                                 HWND hWndExcept = nullptr)
{
    int nApplied = 0;
    HWND hWnd = nullptr;
    while ((hWnd = FindWindowExA(HWND_MESSAGE, hWnd, kSimDriverClass, strSession.c_str())) != nullptr) {
        if (hWnd == hWndExcept)
            continue;
        DWORD_PTR dwResult = FALSE;
        // A copy that hangs must not hang the sender too.
        if (SendMessageTimeoutA(hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds),
                                SMTO_NORMAL | SMTO_ABORTIFHUNG, 5000, &dwResult) &&
            dwResult == TRUE)
            ++nApplied;
    }
    return nApplied;
}

// Sends a change to every copy running on topology strSession except hWndExcept; returns how
// many applied it. Values are in the model's layout (one per channel for a volume, one per
// item for a MIXER or MUX, one for a mute).
inline int SimDriverSetValues(const std::string& strSession, UINT nCard, DWORD dwControlID,
                              const std::vector<DWORD>& values, HWND hWndExcept = nullptr,
                              ULONG_PTR dwOrigin = kSimFromDriver)
{
    std::vector<DWORD> message = {nCard, dwControlID, static_cast<DWORD>(values.size())};
    message.insert(message.end(), values.begin(), values.end());
    COPYDATASTRUCT cds{};
    cds.dwData = dwOrigin;
    cds.cbData = static_cast<DWORD>(message.size() * sizeof(DWORD));
    cds.lpData = message.data();
    return SimDriverSendToCopies(strSession, cds, hWndExcept);
}

// What the copy running on topology strSession in process dwProcessId holds of one kind of
// resource (0 GDI objects, 1 USER objects, 2 committed private KiB); -1 when it does not answer.
inline long long SimDriverQueryResource(const std::string& strSession, DWORD dwProcessId, DWORD dwResource)
{
    COPYDATASTRUCT cds{};
    cds.dwData = kSimQueryResource;
    cds.cbData = sizeof dwResource;
    cds.lpData = &dwResource;
    HWND hWnd = nullptr;
    while ((hWnd = FindWindowExA(HWND_MESSAGE, hWnd, kSimDriverClass, strSession.c_str())) != nullptr) {
        DWORD dwOwner = 0;
        GetWindowThreadProcessId(hWnd, &dwOwner);
        DWORD_PTR dwResult = 0;
        if (dwOwner == dwProcessId &&
            SendMessageTimeoutA(hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds),
                                SMTO_NORMAL | SMTO_ABORTIFHUNG, 5000, &dwResult))
            return static_cast<long long>(dwResult);
    }
    return -1;
}

// Cards that appear, as a topology text (sim/SimMixer.h): appended to the topology file, which
// stands for the machine's hardware, so that copies started from now on find them after the cards
// they had, and added by every copy running on topology strSession. As on a machine with WINMM,
// running copies hear of it only through WM_DEVICECHANGE, which the test sends as Windows
// broadcasts it. How many copies added the cards, or -1 when the file could not be written.
inline int SimDriverAddCards(const std::string& strSession, const std::string& strTopology)
{
    if (!(std::ofstream(strSession, std::ios::app) << strTopology))
        return -1;

    COPYDATASTRUCT cds{};
    cds.dwData = kSimAddCards;
    cds.cbData = static_cast<DWORD>(strTopology.size());
    cds.lpData = const_cast<char*>(strTopology.data());
    return SimDriverSendToCopies(strSession, cds);
}
