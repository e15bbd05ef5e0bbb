// Copies of the program (the test build, linked with the simulated mixer) started as real
// processes, and the settings they share.
#pragma once

#include "fw/RegistryProfile.h"

#include <windows.h>

#include <optional>
#include <string>

// One running copy of sonobar-sim.exe, started with a command tail; ended when it goes.
class CBarProcess {
public:
    // Starts the copy and waits until its message loop is idle, so that its bar has finished
    // initialising (shown, or hidden in the tray).
    explicit CBarProcess(const std::string& strTail = "");
    ~CBarProcess();
    CBarProcess(const CBarProcess&) = delete;
    CBarProcess& operator=(const CBarProcess&) = delete;

    bool Started() const { return m_pi.hProcess != nullptr; }
    // The copy's bar window, or null.
    HWND BarWindow() const;
    // Asks the bar to close as the system's close key does; TRUE when the copy ended in time.
    bool Close();
    // Waits for the copy to end; its exit code, or nothing when it is still running.
    std::optional<DWORD> WaitForExit(DWORD dwMilliseconds = 10000);

private:
    PROCESS_INFORMATION m_pi{};
};

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

// The settings of all copies: HKCU\Software\Quillmark\Sonobar\Settings.
class CSharedSettings {
public:
    CSharedSettings();
    void Clear() const;
    std::optional<DWORD> Read(const char* pszName) const { return m_profile.ReadInt("Settings", pszName); }
    void Write(const char* pszName, DWORD dwValue) const { m_profile.WriteInt("Settings", pszName, dwValue); }

private:
    CRegistryProfile m_profile;
};

// Points copies started from now on at a simulated card set written from a topology text;
// returns the file's path, which also names the copies' session for tests/sim/SimDriver.h.
std::string UseSimulatedCards(const std::string& strTopology);

// Makes copies started from now on log every mixer value change to a fresh file; returns its path.
std::string UseSimulatorLog();
