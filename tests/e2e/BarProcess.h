// Copies of the program (the test build, linked with the simulated mixer) started as real
// processes, and the settings they share.
#pragma once

#include "fw/RegistryProfile.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

// One running copy of sonobar-sim.exe (or of another program: a copy of that file, the shipped
// sonobar.exe), started with a command tail; ended when it goes.
class CBarProcess {
public:
    // Starts the copy and, unless told not to, waits until its message loop is idle, so that its
    // bar has finished initialising (shown, or hidden in the tray). An empty strProgram is the
    // test build next to this test program; a bare file name is a program next to it too.
    explicit CBarProcess(const std::string& strTail = "", const std::string& strProgram = {},
                         bool bWaitUntilStarted = true);
    ~CBarProcess();
    CBarProcess(const CBarProcess&) = delete;
    CBarProcess& operator=(const CBarProcess&) = delete;

    // A copy that another copy started, taken over by its process id; null when it is gone.
    static std::unique_ptr<CBarProcess> Adopt(DWORD dwProcessId);

    bool Started() const { return m_pi.hProcess != nullptr; }
    void WaitUntilStarted() const;
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    // The copy's bar window, or null.
    HWND BarWindow() const;
    // The whole command line that the copy was started with, and its program file.
    std::string CommandLine() const;
    std::string ProgramPath() const;
    // Asks the bar to close as the system's close key does; TRUE when the copy ended in time.
    bool Close();
    // Ends the copy at once, as a crash or the task manager would: nothing of it is saved.
    void Kill();
    // Waits for the copy to end; its exit code, or nothing when it is still running.
    std::optional<DWORD> WaitForExit(DWORD dwMilliseconds = 10000);

private:
    // Only Adopt makes one of these, so only Adopt takes a process over.
    struct SAdoptKey {
        explicit SAdoptKey() = default;
    };

public:
    CBarProcess(SAdoptKey, HANDLE hProcess, DWORD dwProcessId);

private:
    PROCESS_INFORMATION m_pi{};
};

// A copy started for a journey, with its bar's controls at hand; they are null when the copy
// shows no bar. The journey checks hBar before it reaches for the others.
class CRunningBar : public CBarProcess {
public:
    explicit CRunningBar(const std::string& strTail = "");

    const HWND hBar;
    const HWND hMenuButton;
    const HWND hSlider;
    const HWND hMute;
};

// A copy of the test build under another name, in a folder of its own in the temporary folder;
// file and folder go with it.
class CProgramCopy {
public:
    CProgramCopy(const std::string& strFolder, const std::string& strName);
    ~CProgramCopy();
    CProgramCopy(const CProgramCopy&) = delete;
    CProgramCopy& operator=(const CProgramCopy&) = delete;

    bool Made() const { return m_bMade; }
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strDirectory;
    std::string m_strPath;
    bool m_bMade;
};

// The bar windows of every copy: top-level windows titled "Sonobar" that hold the volume slider.
std::vector<HWND> BarWindows();

// Waits until the bars of nCount copies not in setKnown stand and the copies in setKnown have
// handled what made them start others; takes over every copy that they started (fewer or more
// than nCount when that is what they did) and any other new bar.
std::vector<std::unique_ptr<CBarProcess>> AdoptNewBars(const std::set<DWORD>& setKnown, size_t nCount);

// The process ids of the running copies' bars.
std::set<DWORD> BarProcessIds();

// Clicks OK in the program's message boxes ("Sonobar", no slider) of that process.
void DismissMessageBoxes(DWORD dwProcessId);
// The first of those message boxes, or null.
HWND MessageBoxOf(DWORD dwProcessId);

// A top-level window of this test process titled like a bar, with or without a volume slider
// (control 1006). With the slider a starting copy takes it for the bar of a copy already running.
class CForeignBar {
public:
    CForeignBar(const char* pszTitle, RECT rc, bool bVisible, bool bWithSlider);
    ~CForeignBar();
    CForeignBar(const CForeignBar&) = delete;
    CForeignBar& operator=(const CForeignBar&) = delete;

private:
    HWND m_hWnd;
};

RECT WindowRect(HWND hWnd);

// The folder of the test programs, with its trailing backslash; the test build lives there too.
std::string ProgramDirectory();

// The settings of all copies: HKCU\Software\Quillmark\Sonobar\Settings.
class CSharedSettings {
public:
    CSharedSettings();
    void Clear() const;
    std::optional<DWORD> Read(const char* pszName) const { return m_profile.ReadInt("Settings", pszName); }
    void Write(const char* pszName, DWORD dwValue) const { m_profile.WriteInt("Settings", pszName, dwValue); }
    std::optional<std::string> ReadText(const char* pszName) const
    {
        return m_profile.ReadText("Settings", pszName);
    }

private:
    CRegistryProfile m_profile;
};

// Points copies started from now on at a simulated card set written from a topology text;
// returns the file's path, which also names the copies' session for tests/sim/SimDriver.h.
std::string UseSimulatedCards(const std::string& strTopology);

// Makes copies started from now on log every mixer value change to a fresh file; returns its path.
std::string UseSimulatorLog();
