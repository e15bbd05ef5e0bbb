// Copies of the program (the test build, linked with the simulated mixer) started as real
// processes, and the settings they share.
#pragma once

#include "fw/RegistryProfile.h"

#include <windows.h>

#include <optional>
#include <string>

// One running copy of sonobar-sim.exe (or of another program beside the tests, such as the
// shipped sonobar.exe), started with a command tail; ended when it goes.
class CBarProcess {
public:
    // Starts the copy and waits until its message loop is idle, so that its bar has finished
    // initialising (shown, or hidden in the tray).
    explicit CBarProcess(const std::string& strTail = "", const std::string& strProgram = "sonobar-sim.exe");
    ~CBarProcess();
    CBarProcess(const CBarProcess&) = delete;
    CBarProcess& operator=(const CBarProcess&) = delete;

    bool Started() const { return m_pi.hProcess != nullptr; }
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    // The copy's bar window, or null.
    HWND BarWindow() const;
    // Asks the bar to close as the system's close key does; TRUE when the copy ended in time.
    bool Close();
    // Waits for the copy to end; its exit code, or nothing when it is still running.
    std::optional<DWORD> WaitForExit(DWORD dwMilliseconds = 10000);

private:
    PROCESS_INFORMATION m_pi{};
};

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
